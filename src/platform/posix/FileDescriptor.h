// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

// A file descriptor, closed when the object goes.
class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor() { Close(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};
