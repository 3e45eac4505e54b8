// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pipe.h"

#include <cerrno>
#include <fcntl.h>

namespace
{
// A program started with a standard stream closed gets that number for a
// pipe; placing the child's streams would then overwrite it. So every end
// is moved above them. False, with errno, when that fails.
bool AboveStandardStreams(CFileDescriptor& end)
{
    if (end.Get() > STDERR_FILENO)
        return true;
    int moved = ::fcntl(end.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0)
        return false;
    end.Reset(moved);
    return true;
}
} // namespace

int CPipe::Open()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return errno;
    readEnd.Reset(ends[0]);
    writeEnd.Reset(ends[1]);
    bool placed = AboveStandardStreams(readEnd) && AboveStandardStreams(writeEnd);
    return placed ? 0 : errno;
}
