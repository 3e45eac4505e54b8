// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc/QueuedPaths.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
struct TextCase
{
    const char* name;
    const CPathRules& rules;
    const char* queued; // a text path, inside the temporary folder
    const char* asked;
    bool same;
};

void PrintTo(const TextCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextIdentity : public ::testing::TestWithParam<TextCase>
{
protected:
    // docs/ and docs-link/ are one folder; other/ is another.
    void SetUp() override
    {
        SKIP_ON_WINDOWS(
            "Wine cannot make symbolic links, and Windows makes them only with a privilege");
        m_dir.MakeFolder("docs");
        m_dir.MakeFolder("other");
        std::filesystem::create_directory_symlink(m_dir / "docs", m_dir / "docs-link");
    }

    CTempDir m_dir;
};
} // namespace

TEST_P(TextIdentity, FolderByIdentityNameByThePathRules)
{
    const TextCase& c = GetParam();
    CQueuedPaths paths(c.rules);
    paths.Add(paths.KeysOf(m_dir / "source.pdf", m_dir / c.queued));
    EXPECT_EQ(paths.HoldsText(paths.FileKey(m_dir / c.asked)), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextIdentity,
    ::testing::Values(
        TextCase{"SamePath", CPathRules::Posix(), "docs/a.txt", "docs/a.txt", true},
        TextCase{"ThroughAFolderLink", CPathRules::Posix(), "docs/a.txt", "docs-link/a.txt", true},
        TextCase{"ThroughDotSegments", CPathRules::Posix(), "docs/a.txt", "other/../docs/a.txt",
                 true},
        TextCase{"OtherFolder", CPathRules::Posix(), "docs/a.txt", "other/a.txt", false},
        TextCase{"OtherName", CPathRules::Posix(), "docs/a.txt", "docs/b.txt", false},
        TextCase{"CaseOfNamePosix", CPathRules::Posix(), "docs/a.txt", "docs-link/A.TXT", false},
        TextCase{"CaseOfNameWindows", CPathRules::Windows(), "docs/a.txt", "docs-link/A.TXT", true},
        TextCase{"MissingFolderByPath", CPathRules::Posix(), "gone/a.txt", "gone/a.txt", true},
        TextCase{"MissingFolderNotAnExistingOne", CPathRules::Posix(), "gone/a.txt", "docs/a.txt",
                 false}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(QueuedPaths, CountsEachPathUntilItsLastFileLeaves)
{
    CTempDir dir;
    CQueuedPaths paths(CPathRules::Windows());
    CQueuedPaths::CKeys first = paths.KeysOf(dir / "A.PDF", dir / "A.txt");
    CQueuedPaths::CKeys second = paths.KeysOf(dir / "a.pdf", dir / "a.txt");
    paths.Add(first);
    paths.Add(second);
    paths.Remove(first);
    EXPECT_TRUE(paths.HoldsSource(dir / "a.PDF"));
    EXPECT_TRUE(paths.HoldsText(paths.FileKey(dir / "A.TXT")));
    paths.Remove(second);
    paths.Remove(second);
    EXPECT_FALSE(paths.HoldsSource(dir / "a.pdf"));
    EXPECT_FALSE(paths.HoldsText(paths.FileKey(dir / "a.txt")));
}
