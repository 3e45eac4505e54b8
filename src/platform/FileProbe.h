#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Enough of a file's status to tell whether it was replaced or written to.
struct CFileStamp
{
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    std::int64_t nSize = 0;
    std::int64_t nModifiedNs = 0;

    bool operator==(const CFileStamp&) const = default;
};

// The few file checks the logic makes, with the system's error number where
// one can fail.
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

    // Whether the path names a folder.
    static bool IsFolder(const std::string& path);

    // Opens the file for reading and closes it again. Returns 0 on success,
    // otherwise the error number; a folder or another kind of non-regular
    // file counts as a failure (EISDIR, EINVAL) because no text can be read
    // from it.
    static int CheckReadable(const std::string& path);

    // Reads up to `count` bytes from the start of a file into `bytes`.
    // Returns false when the file cannot be opened or read.
    static bool ReadPrefix(const std::string& path, std::size_t count, std::string& bytes);

    // The stamp of an existing path, or nothing.
    static std::optional<CFileStamp> Stamp(const std::string& path);

    // Deletes a file (never a folder). Returns 0 or the error number.
    static int Remove(const std::string& path);
};
