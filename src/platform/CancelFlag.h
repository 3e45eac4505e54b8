// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

// A request to stop long work, set from the user interface and polled by
// the work, possibly on another thread.
class CCancelFlag
{
public:
    void Request() { m_bRequested.store(true, std::memory_order_relaxed); }
    bool IsRequested() const { return m_bRequested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_bRequested{false};
};
