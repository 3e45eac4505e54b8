// Reading and walking folders for one add operation.

#include "doc/FolderWalker.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace
{
using Paths = std::vector<std::string>;

class FolderWalker : public ::testing::Test
{
protected:
    CTempDir m_dir;
    CFolderWalker m_walker;
};
} // namespace

TEST_F(FolderWalker, ReadEntries_GivesEveryEntryButTheDotsInNameOrder)
{
    std::string folder = m_dir.MakeFolder("docs");
    m_dir.Write("docs/b.pdf", "");
    m_dir.Write("docs/A.pdf", "");
    m_dir.Write("docs/.hidden.pdf", "");
    m_dir.MakeFolder("docs/sub");
    m_dir.MakeFolder("docs/.config");
    EXPECT_EQ(CFolderWalker::ReadEntries(folder),
              (Paths{folder + "/.config", folder + "/.hidden.pdf", folder + "/A.pdf",
                     folder + "/b.pdf", folder + "/sub"}));
}

TEST_F(FolderWalker, ReadEntries_DoesNotDoubleATrailingSeparator)
{
    m_dir.Write("docs/a.pdf", "");
    EXPECT_EQ(CFolderWalker::ReadEntries(m_dir / "docs/"), (Paths{m_dir / "docs/a.pdf"}));
}

TEST_F(FolderWalker, ReadEntries_OfAMissingFolderThrowsNamingIt)
{
    std::string missing = m_dir / "gone";
    try
    {
        CFolderWalker::ReadEntries(missing);
        FAIL() << "no exception";
    }
    catch (const std::filesystem::filesystem_error& error)
    {
        EXPECT_EQ(error.path1().string(), missing);
        EXPECT_EQ(error.code().value(), ENOENT);
    }
}

TEST_F(FolderWalker, Walk_MarksTheFolderWhileInsideItAndThroughAnyLink)
{
    std::string folder = m_dir.MakeFolder("docs");
    m_dir.Write("docs/a.pdf", "");
    std::filesystem::create_directory_symlink(folder, m_dir / "link");
    int visits = 0;
    m_walker.Walk(folder,
                  [&](const std::string& entry)
                  {
                      ++visits;
                      EXPECT_EQ(entry, folder + "/a.pdf");
                      EXPECT_TRUE(m_walker.IsBeingWalked(folder));
                      EXPECT_TRUE(m_walker.IsBeingWalked(m_dir / "link"));
                      EXPECT_FALSE(m_walker.IsBeingWalked(m_dir.Path()));
                  });
    EXPECT_EQ(visits, 1);
    EXPECT_FALSE(m_walker.IsBeingWalked(folder));
}

TEST_F(FolderWalker, Walk_EndedByAnExceptionLeavesNothingMarked)
{
    std::string folder = m_dir.MakeFolder("docs");
    m_dir.Write("docs/a.pdf", "");
    EXPECT_THROW(m_walker.Walk(folder, [](const std::string&) { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_FALSE(m_walker.IsBeingWalked(folder));
}

TEST_F(FolderWalker, Walk_DoesNotMeetFilesMadeWhileWalking)
{
    std::string folder = m_dir.MakeFolder("docs");
    m_dir.Write("docs/a.pdf", "");
    Paths visited;
    m_walker.Walk(folder,
                  [&](const std::string& entry)
                  {
                      visited.push_back(entry);
                      m_dir.Write("docs/a.txt", "made by the conversion");
                  });
    EXPECT_EQ(visited, (Paths{folder + "/a.pdf"}));
}
