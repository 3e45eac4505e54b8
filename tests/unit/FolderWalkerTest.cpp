// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and walking folders for one add operation.

#include "doc/FolderWalker.h"
#include "LockedFolder.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/FileProbe.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace
{
using Paths = std::vector<std::string>;
using std::filesystem::perms;

class FolderWalker : public ::testing::Test
{
protected:
    Paths Walked(const std::string& folder)
    {
        Paths visited;
        m_nError =
            m_walker.Walk(folder, [&](const std::string& entry) { visited.push_back(entry); });
        return visited;
    }

    CTempDir m_dir;
    CFolderWalker m_walker;
    // What the last walk gave.
    int m_nError = -1;
};

struct FolderRightsCase
{
    const char* name;
    perms rights;
    bool bReadable;
};

void PrintTo(const FolderRightsCase& c, std::ostream* out)
{
    *out << c.name;
}

class FolderRights : public FolderWalker, public ::testing::WithParamInterface<FolderRightsCase>
{
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
    std::error_code error;
    EXPECT_EQ(CFolderWalker::ReadEntries(folder, error),
              (Paths{folder + "/.config", folder + "/.hidden.pdf", folder + "/A.pdf",
                     folder + "/b.pdf", folder + "/sub"}));
}

TEST_F(FolderWalker, ReadEntries_DoesNotDoubleATrailingSeparator)
{
    m_dir.Write("docs/a.pdf", "");
    std::error_code error;
    EXPECT_EQ(CFolderWalker::ReadEntries(m_dir / "docs/", error), (Paths{m_dir / "docs/a.pdf"}));
}

TEST_F(FolderWalker, FolderThatIsGone_IsPassedOverInSilence)
{
    std::string gone = m_dir / "gone";
    std::error_code error;
    EXPECT_TRUE(CFolderWalker::ReadEntries(gone, error).empty());
    EXPECT_TRUE(CFileProbe::MeansGone(error.value())) << error.value();
    EXPECT_TRUE(Walked(gone).empty());
    EXPECT_EQ(m_nError, 0);
}

// Listing the names is not enough: a folder whose entries cannot be reached
// gives nothing that could be added either.
TEST_P(FolderRights, FolderThatCannotBeRead_IsSkippedWithItsReason)
{
    SKIP_ON_WINDOWS("Wine does not enforce the rights of a folder");
    std::string folder = m_dir.MakeFolder("docs");
    m_dir.Write("docs/a.pdf", "");
    Paths walked;
    {
        CLockedFolder locked(folder, GetParam().rights);
        walked = Walked(folder);
    }
    if (GetParam().bReadable)
    {
        EXPECT_EQ(walked, (Paths{folder + "/a.pdf"}));
        EXPECT_EQ(m_nError, 0);
        return;
    }
    EXPECT_TRUE(walked.empty());
    EXPECT_EQ(m_nError, EACCES);
    EXPECT_FALSE(m_walker.IsBeingWalked(folder));
}

INSTANTIATE_TEST_SUITE_P(OwnerRights, FolderRights,
                         ::testing::Values(FolderRightsCase{"None", perms::none, false},
                                           FolderRightsCase{"ListOnly", perms::owner_read, false},
                                           FolderRightsCase{"EnterOnly", perms::owner_exec, false},
                                           FolderRightsCase{"ListAndEnter",
                                                            perms::owner_read | perms::owner_exec,
                                                            true}),
                         [](const ::testing::TestParamInfo<FolderRightsCase>& info)
                         { return info.param.name; });

TEST_F(FolderWalker, Walk_MarksTheFolderWhileInsideItAndThroughAnyLink)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
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
