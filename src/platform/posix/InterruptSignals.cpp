// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InterruptSignals.h"

#include <atomic>
#include <csignal>
#include <pthread.h>

namespace
{
std::atomic<int> g_received{0};

void OnSignal(int signal)
{
    int none = 0;
    g_received.compare_exchange_strong(none, signal);
}

sigset_t Requests()
{
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGTERM);
    return set;
}
} // namespace

// Without SA_RESTART, so that a blocked read returns; with SA_RESETHAND, so
// that a second request meets the default action. A write to a closed pipe
// fails with EPIPE, which the writer sees, rather than ending the command
// before its last report rows.
void CInterruptSignals::Install()
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

int CInterruptSignals::Received()
{
    return g_received.load();
}

void CInterruptSignals::HoldInThisThread()
{
    sigset_t requests = Requests();
    ::pthread_sigmask(SIG_BLOCK, &requests, nullptr);
}
