// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderEvents.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <windows.h>

// Watching folders is not offered on Windows: the command refuses --watch
// there. The waits still work, so the logic above builds and runs the same.
struct CFolderEvents::CImpl
{
    std::mutex mutex;
    std::condition_variable woken;
    bool bWoken = false;
};

bool CFolderEvents::Available()
{
    return false;
}

CFolderEvents::CFolderEvents() : m_pImpl(std::make_unique<CImpl>()) {}

CFolderEvents::~CFolderEvents() = default;

int CFolderEvents::Open()
{
    return ERROR_NOT_SUPPORTED;
}

void CFolderEvents::Close() {}

int CFolderEvents::Watch(const std::string&)
{
    return ERROR_NOT_SUPPORTED;
}

std::size_t CFolderEvents::Count() const
{
    return 0;
}

void CFolderEvents::Wait(int timeoutMs, std::vector<CEvent>&)
{
    std::unique_lock lock(m_pImpl->mutex);
    auto woken = [this] { return m_pImpl->bWoken; };
    if (timeoutMs < 0)
        m_pImpl->woken.wait(lock, woken);
    else
        m_pImpl->woken.wait_for(lock, std::chrono::milliseconds(timeoutMs), woken);
    m_pImpl->bWoken = false;
}

void CFolderEvents::Wake()
{
    {
        std::lock_guard lock(m_pImpl->mutex);
        m_pImpl->bWoken = true;
    }
    m_pImpl->woken.notify_one();
}
