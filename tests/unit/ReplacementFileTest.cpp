// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReplacementFile.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/FileProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include "platform/win32/WideText.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
std::string Replace(const std::string& path, const std::string& bytes)
{
    CReplacementFile file(path);
    EXPECT_EQ(file.Open(), 0);
    EXPECT_EQ(file.Write(bytes.data(), bytes.size()), 0);
    EXPECT_EQ(file.Commit(), 0);
    return CTempDir::ReadFile(path);
}

std::vector<std::string> Names(const CTempDir& dir)
{
    std::vector<std::string> names;
    CFileProbe::ListNames(dir.Path(), names);
    std::sort(names.begin(), names.end());
    return names;
}

// A temporary still being written, as another program holding it would:
// locked on Linux, open without leave to delete on Windows.
class CHeldFile
{
public:
    explicit CHeldFile(const std::string& path)
    {
#ifdef _WIN32
        m_handle = ::CreateFileW(CWideText::FromUtf8(path).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_HIDDEN, nullptr);
#else
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        struct flock whole = {};
        whole.l_type = F_WRLCK;
        ::fcntl(m_fd, F_OFD_SETLK, &whole);
#endif
    }
    ~CHeldFile()
    {
#ifdef _WIN32
        ::CloseHandle(m_handle);
#else
        ::close(m_fd);
#endif
    }

private:
#ifdef _WIN32
    HANDLE m_handle;
#else
    int m_fd;
#endif
};
} // namespace

TEST(ReplacementFile, TakesTheFilesPlaceWholeOnlyWhenCommitted)
{
    CTempDir dir;
    std::string path = dir.Write("doc.txt", "old");
    {
        CReplacementFile abandoned(path);
        ASSERT_EQ(abandoned.Open(), 0);
        ASSERT_EQ(abandoned.Write("new", 3), 0);
        EXPECT_EQ(CTempDir::ReadFile(path), "old");
    }
    EXPECT_EQ(Names(dir), std::vector<std::string>{"doc.txt"});
    EXPECT_EQ(Replace(path, "new"), "new");
    EXPECT_EQ(Replace(dir / "fresh.txt", ""), "");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"doc.txt", "fresh.txt"}));
}

TEST(ReplacementFile, AFolderThatIsNotThereCannotTakeIt)
{
    CTempDir dir;
    CReplacementFile file(dir / "gone/doc.txt");
    EXPECT_TRUE(CFileProbe::MeansGone(file.Open()));
    EXPECT_EQ(file.Folder(), dir / "gone");
}

TEST(ReplacementFile, AReplacedFileKeepsItsPermissionBitsAndALinkItsPlace)
{
    SKIP_ON_WINDOWS("permission bits and links of POSIX");
#ifndef _WIN32
    CTempDir dir;
    std::string path = dir.Write("doc.txt", "old");
    ::chmod(path.c_str(), 0640);
    std::filesystem::create_symlink(path, dir / "link.txt");
    Replace(dir / "link.txt", "new");
    struct stat status;
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(CTempDir::ReadFile(path), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
#endif
}

TEST(ReplacementFile, LeftoversOfKilledProgramsGoThoseBeingWrittenStay)
{
    CTempDir dir;
    dir.Write(".doc.txt.zelto-00000000deadbeef.tmp", "half");
    dir.Write(".notes.zelto-x", "a file of the person's own");
    dir.Write("doc.txt", "old");
    CHeldFile held(dir / ".b.txt.zelto-0123456789abcdef.tmp");
    CReplacementFile::RemoveLeftovers(dir.Path());
    EXPECT_EQ(Names(dir), (std::vector<std::string>{".b.txt.zelto-0123456789abcdef.tmp",
                                                    ".notes.zelto-x", "doc.txt"}));
}
