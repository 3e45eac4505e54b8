// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileProbe.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/FileCloser.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include "platform/win32/WideText.h"

#include <windows.h>
#endif

// Names beyond ASCII reach every call whole: UTF-8 inside the program, the
// wide-character calls on Windows.
TEST(FileProbe, NamesBeyondAsciiWorkInEveryCheck)
{
    CTempDir dir;
    std::string folder = dir.MakeFolder("Zoë 日本");
    std::string file = dir.Write("Zoë 日本/Überblick ✓.pdf", "%PDF-1.4");
    EXPECT_TRUE(CFileProbe::Exists(file));
    EXPECT_TRUE(CFileProbe::IsFolder(folder));
    EXPECT_FALSE(CFileProbe::IsFolder(file));
    EXPECT_EQ(CFileProbe::CheckReadable(file), 0);
    {
        // Closed again before the file is removed: Windows removes no open file.
        std::string start(4, '\0');
        CFilePointer opened(CFileProbe::OpenForReading(file));
        ASSERT_TRUE(opened);
        EXPECT_EQ(std::fread(start.data(), 1, 4, opened.get()), 4u);
        EXPECT_EQ(start, "%PDF");
    }
    std::vector<std::string> names;
    EXPECT_EQ(CFileProbe::ListNames(folder, names), 0);
    EXPECT_EQ(names, std::vector<std::string>{"Überblick ✓.pdf"});
    EXPECT_TRUE(CFileProbe::Stamp(file).has_value());
    EXPECT_EQ(CFileProbe::Remove(file), 0);
    EXPECT_TRUE(CFileProbe::IsGone(file));
    EXPECT_TRUE(CFileProbe::IsGone(folder + "/gone/x.pdf"));
    EXPECT_FALSE(CFileProbe::IsGone(folder));
}

// The identity is the file's, whatever path names it; a write changes the
// stamp and a replacement changes the identity.
TEST(FileProbe, StampFollowsTheFileNotThePath)
{
    CTempDir dir;
    std::string file = dir.Write("docs/a.txt", "one");
    auto first = CFileProbe::Stamp(file);
    auto other = CFileProbe::Stamp(dir.Write("docs/b.txt", "one"));
    auto throughDots = CFileProbe::Stamp(dir / "docs/../docs/a.txt");
    ASSERT_TRUE(first && other && throughDots);
    EXPECT_EQ(*first, *throughDots);
    EXPECT_NE(std::make_pair(first->nDevice, first->nInode),
              std::make_pair(other->nDevice, other->nInode));
    dir.Write("docs/a.txt", "longer");
    auto written = CFileProbe::Stamp(file);
    ASSERT_TRUE(written);
    EXPECT_NE(*written, *first);
    EXPECT_FALSE(CFileProbe::Stamp(dir / "docs/none.txt"));
}

TEST(FileProbe, RelativePathIsMadeAbsoluteAgainstTheCurrentFolder)
{
    CTempDir dir;
    dir.Write("a.pdf", "");
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(CTempDir::FsPath(dir.Path()));
    std::string absolute = CFileProbe::AbsolutePath("a.pdf");
    std::filesystem::current_path(before);
    EXPECT_TRUE(CTempDir::FsPath(absolute).is_absolute()) << absolute;
    EXPECT_TRUE(
        std::filesystem::equivalent(CTempDir::FsPath(absolute), CTempDir::FsPath(dir / "a.pdf")));
    EXPECT_EQ(CFileProbe::AbsolutePath(dir / "a.pdf"), dir / "a.pdf");
}

// On Windows a file another program holds open may still change, so it
// cannot be used; Linux has no such lock.
TEST(FileProbe, FileHeldOpenElsewhere_CannotBeUsedOnWindows)
{
#ifdef _WIN32
    CTempDir dir;
    std::string file = dir.Write("held.pdf", "%PDF-1.4");
    HANDLE held = ::CreateFileW(CWideText::FromUtf8(file).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CFileProbe::CheckReadable(file), ERROR_SHARING_VIOLATION);
    ::CloseHandle(held);
    EXPECT_EQ(CFileProbe::CheckReadable(file), 0);
#else
    GTEST_SKIP() << "Linux lets any number of programs open a file";
#endif
}
