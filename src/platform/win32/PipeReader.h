// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Handle.h"

#include <cstddef>
#include <string_view>
#include <vector>
#include <windows.h>

// One stream of a child through a named pipe of its own, read with
// overlapped reads: each read ends by setting an event, so that one wait
// covers both streams, a cancel and the time, and what arrives is handed on
// at once, on the thread that runs the child. The child's end is an
// ordinary synchronous handle.
class CPipeReader
{
public:
    explicit CPipeReader(std::size_t chunkSize);
    CPipeReader(const CPipeReader&) = delete;
    CPipeReader& operator=(const CPipeReader&) = delete;
    ~CPipeReader();

    // Makes the pipe, under a name of its own: never one another program
    // made. Returns 0 or the system's error number.
    DWORD Open();

    HANDLE ChildEnd() const { return m_childEnd.Get(); }
    void CloseChildEnd() { m_childEnd.Close(); }
    // Whether the stream has not ended yet.
    bool IsOpen() const { return m_ownEnd.IsValid(); }

    // Starts a read unless one is under way; gives the event set when it
    // ends.
    HANDLE Request();
    // The bytes of the read that ended: none, with the stream closed, at its
    // end. Returns 0 or the system's error number.
    DWORD Take(std::string_view& bytes);

private:
    CHandle m_ownEnd;
    CHandle m_childEnd;
    CHandle m_event;
    OVERLAPPED m_overlapped = {};
    std::vector<char> m_buffer;
    bool m_bPending = false;
    DWORD m_nFailure = 0;
};
