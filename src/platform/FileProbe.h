// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Enough of a file's status to tell whether it was replaced or written to.
// The device and file number are the volume serial number and file index
// on Windows; the time is in nanoseconds from an epoch of the system's.
struct CFileStamp
{
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    std::int64_t nSize = 0;
    std::int64_t nModifiedNs = 0;

    bool operator==(const CFileStamp&) const = default;
};

// The few file checks the logic makes, with the system's error number where
// one can fail: errno on Linux, GetLastError on Windows. Paths are UTF-8 on
// every system; on Windows they go to the wide-character calls, so any name
// the file system holds can be used.
class CFileProbe
{
public:
    // Whether the path names an existing file or folder.
    static bool Exists(const std::string& path);

    // Whether nothing is at the path any more. A path that is there but
    // cannot be examined (a loop of links, a folder on the way that may not
    // be entered) is not gone.
    static bool IsGone(const std::string& path);
    // Whether a failure with this error number means that nothing is at the
    // path: it, or a folder on the way to it, was removed, or replaced by
    // something that is not a folder.
    static bool MeansGone(int errorCode);
    // Whether a failure with this error number means that memory ran out.
    static bool MeansOutOfMemory(int errorCode);

    // Whether the path names a folder.
    static bool IsFolder(const std::string& path);

    // Opens the file for reading and closes it again. Returns 0 on success,
    // otherwise the error number; a folder or another kind of non-regular
    // file counts as a failure (EISDIR, EINVAL) because no text can be read
    // from it. On Windows the file is opened with no sharing allowed, so a
    // file that another program holds open fails too
    // (ERROR_SHARING_VIOLATION): its contents may still change.
    static int CheckReadable(const std::string& path);

    // Opens a file for reading through the C library as bytes, with no line
    // end translation, so that positions are byte offsets on every system.
    // Gives null with the reason in errno.
    static std::FILE* OpenForReading(const std::string& path);

    // Whether users other than the file's owner may read the open file:
    // its group or others have the right to read it. Always false on
    // Windows, whose access lists say more than one answer could.
    static bool MayBeReadByOthers(std::FILE* file);

    // The stamp of an existing path, or nothing.
    static std::optional<CFileStamp> Stamp(const std::string& path);

    // Deletes a file (never a folder). Returns 0 or the error number.
    static int Remove(const std::string& path);

    // The names in a folder, all but "." and "..", hidden ones included, in
    // the order the system gives them. Returns 0, or the error number when
    // the folder cannot be listed or, on Linux, its entries cannot be
    // reached (no search permission).
    static int ListNames(const std::string& folder, std::vector<std::string>& names);

    // The path made absolute against the current folder, for a program
    // started elsewhere; as it stands when it is absolute already or the
    // current folder cannot be told.
    static std::string AbsolutePath(const std::string& path);

    // The folder of the running program's file; empty when it cannot be
    // told.
    static std::string ProgramFolder();
};
