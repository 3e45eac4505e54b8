// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Looks for a request to stop on a thread of its own and cancels the run
// when one comes, wherever the main thread is at: walking a large folder,
// answering a question or waiting for a tool.
class CStopWatcher
{
public:
    // `stopRequest` gives a signal number or 0; `cancel` runs once, on the
    // watcher's thread.
    CStopWatcher(std::function<int()> stopRequest, std::function<void()> cancel);
    ~CStopWatcher();

    CStopWatcher(const CStopWatcher&) = delete;
    CStopWatcher& operator=(const CStopWatcher&) = delete;

private:
    void Watch();

    std::function<int()> m_stopRequest;
    std::function<void()> m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_ending;
    bool m_bEnding = false;
    std::thread m_thread;
};
