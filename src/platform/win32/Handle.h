// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

// A handle of the system, closed when the object goes.
class CHandle
{
public:
    explicit CHandle(HANDLE handle = nullptr) : m_hHandle(handle) {}
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    HANDLE Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle && m_hHandle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle)
    {
        Close();
        m_hHandle = handle;
    }
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_hHandle);
        m_hHandle = nullptr;
    }

private:
    HANDLE m_hHandle;
};
