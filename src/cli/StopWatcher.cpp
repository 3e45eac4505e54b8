// SPDX-License-Identifier: GPL-3.0-or-later
#include "StopWatcher.h"

#include "platform/InterruptSignals.h"

#include <chrono>

CStopWatcher::CStopWatcher(std::function<int()> stopRequest, std::function<void()> cancel)
    : m_stopRequest(std::move(stopRequest)), m_cancel(std::move(cancel))
{
    m_thread = std::thread(
        [this]
        {
            CInterruptSignals::HoldInThisThread();
            Watch();
        });
}

CStopWatcher::~CStopWatcher()
{
    {
        std::lock_guard lock(m_mutex);
        m_bEnding = true;
    }
    m_ending.notify_one();
    m_thread.join();
}

void CStopWatcher::Watch()
{
    std::unique_lock lock(m_mutex);
    while (!m_bEnding)
    {
        if (m_stopRequest())
        {
            m_cancel();
            return;
        }
        m_ending.wait_for(lock, std::chrono::milliseconds(50));
    }
}
