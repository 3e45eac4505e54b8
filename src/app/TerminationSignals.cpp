// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminationSignals.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, for the handler; -1 when nothing is caught.
volatile sig_atomic_t g_nWriteEnd = -1;

// Only async-signal-safe calls here: the signal's number goes down the pipe
// and the event loop picks it up.
extern "C" void OnTerminationSignal(int signalNumber)
{
    int savedErrno = errno;
    auto byte = static_cast<unsigned char>(signalNumber);
    if (g_nWriteEnd >= 0 && write(g_nWriteEnd, &byte, 1) < 0)
    {
        // A full pipe holds a request to end already; nothing is lost.
    }
    errno = savedErrno;
}
} // namespace

struct CTerminationSignals::CSavedActions
{
    std::array<struct sigaction, kSignals.size()> m_actions{};
};

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent)
{
    Install();
}

CTerminationSignals::~CTerminationSignals()
{
    Restore();
}

void CTerminationSignals::Install()
{
    if (g_nWriteEnd >= 0 || pipe2(m_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_nWriteEnd = m_pipe[1];
    m_pNotifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);

    m_pSaved = std::make_unique<CSavedActions>();
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &m_pSaved->m_actions[i]);
    m_bActive = true;
}

void CTerminationSignals::Restore()
{
    if (!m_bActive)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &m_pSaved->m_actions[i], nullptr);
    g_nWriteEnd = -1;
    m_pNotifier.reset();
    close(m_pipe[0]);
    close(m_pipe[1]);
    m_bActive = false;
}

void CTerminationSignals::OnReadable()
{
    unsigned char byte = 0;
    while (read(m_pipe[0], &byte, 1) == 1)
        emit Received(byte);
}

#else

struct CTerminationSignals::CSavedActions
{
};

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {}

CTerminationSignals::~CTerminationSignals() = default;

void CTerminationSignals::Install() {}

void CTerminationSignals::Restore() {}

void CTerminationSignals::OnReadable() {}

#endif
