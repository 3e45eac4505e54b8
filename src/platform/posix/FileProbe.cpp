// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileProbe.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Opens a regular file for reading without blocking on a FIFO or device.
// Returns the descriptor, or -1 with errno set.
int OpenRegularFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat status;
    if (::fstat(fd, &status) != 0)
    {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    if (!S_ISREG(status.st_mode))
    {
        ::close(fd);
        errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    return fd;
}
} // namespace

bool CFileProbe::Exists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

bool CFileProbe::IsGone(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) != 0 && MeansGone(errno);
}

bool CFileProbe::MeansGone(int errorCode)
{
    return errorCode == ENOENT || errorCode == ENOTDIR;
}

bool CFileProbe::MeansOutOfMemory(int errorCode)
{
    return errorCode == ENOMEM;
}

bool CFileProbe::IsFolder(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int CFileProbe::CheckReadable(const std::string& path)
{
    int fd = OpenRegularFile(path);
    if (fd < 0)
        return errno != 0 ? errno : EIO;
    ::close(fd);
    return 0;
}

int CFileProbe::Remove(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

std::optional<CFileStamp> CFileProbe::Stamp(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    CFileStamp stamp;
    stamp.nDevice = status.st_dev;
    stamp.nInode = status.st_ino;
    stamp.nSize = status.st_size;
    stamp.nModifiedNs =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return stamp;
}

std::FILE* CFileProbe::OpenForReading(const std::string& path)
{
    return std::fopen(path.c_str(), "rb");
}

bool CFileProbe::MayBeReadByOthers(std::FILE* file)
{
    struct stat status;
    if (::fstat(::fileno(file), &status) != 0)
        return false;
    return (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

// The folder is listed through its own "." entry: opening that needs the
// right to reach the folder's entries as well as to list their names, so a
// folder that can be listed but not entered fails here, once, instead of
// every entry failing on its own.
int CFileProbe::ListNames(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    std::error_code error;
    std::string listed = folder.empty() || folder.back() != '/' ? folder + "/." : folder + ".";
    for (std::filesystem::directory_iterator entry(listed, error), end; !error && entry != end;
         entry.increment(error))
    {
        names.push_back(entry->path().filename().string());
    }
    if (error)
        names.clear();
    return error.value();
}

std::string CFileProbe::AbsolutePath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::string folder(PATH_MAX, '\0');
    if (!::getcwd(folder.data(), folder.size()))
        return path;
    folder.resize(folder.find('\0'));
    if (folder.back() != '/')
        folder += '/';
    return folder + path;
}

std::string CFileProbe::ProgramFolder()
{
    std::string path(4096, '\0');
    ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}
