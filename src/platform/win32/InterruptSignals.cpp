// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InterruptSignals.h"

#include <atomic>
#include <csignal>
#include <windows.h>

namespace
{
std::atomic<int> g_received{0};

// Runs on a thread of its own. The first request is taken; a later one is
// left to the default handler, which ends the process.
BOOL WINAPI OnControl(DWORD event)
{
    int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    int none = 0;
    return g_received.compare_exchange_strong(none, signal) ? TRUE : FALSE;
}
} // namespace

void CInterruptSignals::Install()
{
    ::SetConsoleCtrlHandler(OnControl, TRUE);
}

int CInterruptSignals::Received()
{
    return g_received.load();
}

void CInterruptSignals::HoldInThisThread() {}

void CInterruptSignals::InstallReread() {}

bool CInterruptSignals::TakeRereadRequest()
{
    return false;
}
