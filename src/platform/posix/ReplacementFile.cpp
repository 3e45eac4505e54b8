// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReplacementFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/FileProbe.h"

namespace
{
constexpr int kNameAttempts = 16;

// The folder and name of a path, "." standing for a path without a folder.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    std::size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// A link is followed to the file it names, which is then the one replaced.
std::string FileToReplace(const std::string& path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return path;
    return resolved;
}

// A write lock on the whole file, held by the open file itself, so that
// threads of one program exclude each other too and a killed program's
// lock goes with it. Returns 0 or the error number.
int LockWhole(int fd)
{
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &whole) == 0 ? 0 : errno;
}

} // namespace

struct CReplacementFile::CSystemState
{
    int fd = -1;
    std::string folder;
    std::string name;
    // The hidden name the contents have while written; empty while they
    // have none.
    std::string temporary;

    ~CSystemState()
    {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
    }

    // A hidden name of its own in the folder, made and locked. A leftover
    // sweep that took it between the two leaves it without links; then
    // another is made.
    int OpenNamed()
    {
        int error = EEXIST;
        for (int attempt = 0; attempt < kNameAttempts; ++attempt)
        {
            std::string candidate = folder + "/" + TemporaryName(name);
            int opened =
                ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
            if (opened < 0)
            {
                error = errno;
                if (error == EEXIST)
                    continue;
                return error;
            }
            struct stat status;
            if (LockWhole(opened) == 0 && ::fstat(opened, &status) == 0 && status.st_nlink == 0)
            {
                ::close(opened);
                continue;
            }
            fd = opened;
            temporary = candidate;
            return 0;
        }
        return error;
    }

    // Gives the unnamed contents a name: the file's own when it has none
    // yet, else a hidden one to rename from.
    int Link(const std::string& target)
    {
        std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST)
            return errno;
        for (int attempt = 0; attempt < kNameAttempts; ++attempt)
        {
            std::string candidate = folder + "/" + TemporaryName(name);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
                0)
            {
                temporary = candidate;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }
};

CReplacementFile::CReplacementFile(std::string path) : m_strPath(std::move(path)) {}

CReplacementFile::~CReplacementFile() = default;

std::string CReplacementFile::Folder() const
{
    std::string folder;
    std::string name;
    SplitPath(m_strPath, folder, name);
    return folder;
}

int CReplacementFile::Open()
{
    m_pState = std::make_unique<CSystemState>();
    CSystemState& state = *m_pState;
    SplitPath(FileToReplace(m_strPath), state.folder, state.name);
    state.fd = ::open(state.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (state.fd >= 0)
    {
        // Without a lock a leftover sweep could not tell it is being written
        // in the moment it has a hidden name.
        LockWhole(state.fd);
        return 0;
    }
    // File systems without unnamed files say so in several ways; any
    // failure here is tried again with a name, which gives the real reason.
    return state.OpenNamed();
}

int CReplacementFile::Write(const char* bytes, std::size_t count)
{
    while (count > 0)
    {
        ssize_t written = ::write(m_pState->fd, bytes, count);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return 0;
}

int CReplacementFile::Commit()
{
    CSystemState& state = *m_pState;
    std::string target = state.folder + "/" + state.name;
    struct stat old;
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(state.fd, old.st_mode & 07777) != 0)
        return errno;
    if (state.temporary.empty())
    {
        if (int error = state.Link(target))
            return error;
        if (state.temporary.empty())
        {
            ::close(std::exchange(state.fd, -1));
            return 0;
        }
    }
    if (::rename(state.temporary.c_str(), target.c_str()) != 0)
        return errno;
    state.temporary.clear();
    ::close(std::exchange(state.fd, -1));
    return 0;
}

void CReplacementFile::RemoveLeftovers(const std::string& folder)
{
    std::vector<std::string> names;
    if (CFileProbe::ListNames(folder, names) != 0)
        return;
    for (const std::string& name : names)
    {
        if (!IsTemporaryName(name))
            continue;
        std::string path = folder + "/" + name;
        int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            continue;
        struct stat status;
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && LockWhole(fd) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
}
