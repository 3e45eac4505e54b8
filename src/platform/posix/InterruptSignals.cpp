// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InterruptSignals.h"

#include "SignalWake.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace
{
std::atomic<int> g_received{0};
std::atomic<bool> g_reread{false};
// Read and write ends of the pipe that wakes waiters.
int g_wake[2] = {-1, -1};

void WakeWaiters()
{
    int saved = errno;
    if (g_wake[1] >= 0)
    {
        char byte = 1;
        [[maybe_unused]] ssize_t written = ::write(g_wake[1], &byte, 1);
    }
    errno = saved;
}

void OnSignal(int signal)
{
    int none = 0;
    g_received.compare_exchange_strong(none, signal);
    WakeWaiters();
}

void OnReread(int)
{
    g_reread.store(true);
    WakeWaiters();
}

sigset_t Requests()
{
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGTERM);
    ::sigaddset(&set, SIGHUP);
    return set;
}
} // namespace

// Without SA_RESTART, so that a blocked read returns; with SA_RESETHAND, so
// that a second request meets the default action. A write to a closed pipe
// fails with EPIPE, which the writer sees, rather than ending the command
// before its last report rows.
void CInterruptSignals::Install()
{
    if (g_wake[0] < 0 && ::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wake[0] = g_wake[1] = -1;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

void CInterruptSignals::InstallReread()
{
    struct sigaction action = {};
    action.sa_handler = OnReread;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGHUP, &action, nullptr);
}

int CInterruptSignals::Received()
{
    return g_received.load();
}

bool CInterruptSignals::TakeRereadRequest()
{
    return g_reread.exchange(false);
}

void CInterruptSignals::HoldInThisThread()
{
    sigset_t requests = Requests();
    ::pthread_sigmask(SIG_BLOCK, &requests, nullptr);
}

int SignalWakeDescriptor()
{
    return g_wake[0];
}
