// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathRules.h"

#include <gtest/gtest.h>

namespace
{
struct SplitCase
{
    const CPathRules& rules;
    const char* path;
    CSplitPath parts;
};
} // namespace

// Windows rules know drives, both separators and shares; POSIX rules only
// '/'. Both split the extension at the last dot of the name.
TEST(PathRules, Split_DrivesAndSeparatorsOfEachRuleSetAndTheLastDot)
{
    const CPathRules& win = CPathRules::Windows();
    const CPathRules& posix = CPathRules::Posix();
    const SplitCase cases[] = {
        {win, "D:\\docs\\Report.PDF", {"D:", "\\docs\\", "Report", ".PDF"}},
        {win, "D:\\a.b\\book.final.pdf", {"D:", "\\a.b\\", "book.final", ".pdf"}},
        {win, "report.pdf", {"", "", "report", ".pdf"}},
        {win, "D:\\docs\\notes", {"D:", "\\docs\\", "notes", ""}},
        {win, "D:\\docs\\notes.", {"D:", "\\docs\\", "notes", "."}},
        {win, "D:\\docs\\report.pdf.bak", {"D:", "\\docs\\", "report.pdf", ".bak"}},
        {win, "C:/mixed\\seps/file.pdf", {"C:", "/mixed\\seps/", "file", ".pdf"}},
        {win, "D:file.pdf", {"D:", "", "file", ".pdf"}},
        {win, "\\\\server\\share\\x.pdf", {"", "\\\\server\\share\\", "x", ".pdf"}},
        {win, "D:\\folder.pdf\\", {"D:", "\\folder.pdf\\", "", ""}},
        {posix, "/docs/Report.PDF", {"", "/docs/", "Report", ".PDF"}},
        {posix, "/a.b/book.final.pdf", {"", "/a.b/", "book.final", ".pdf"}},
        {posix, "report.pdf", {"", "", "report", ".pdf"}},
        {posix, "/docs/notes", {"", "/docs/", "notes", ""}},
        {posix, "/docs/notes.", {"", "/docs/", "notes", "."}},
        {posix, "D:\\docs\\Report.PDF", {"", "", "D:\\docs\\Report", ".PDF"}},
        {posix, "/back\\slash/a.pdf", {"", "/back\\slash/", "a", ".pdf"}},
        {posix, "/", {"", "/", "", ""}},
    };
    for (const SplitCase& c : cases)
    {
        CSplitPath parts = c.rules.Split(c.path);
        EXPECT_EQ(parts.strDrive, c.parts.strDrive) << c.path;
        EXPECT_EQ(parts.strDir, c.parts.strDir) << c.path;
        EXPECT_EQ(parts.strBaseName, c.parts.strBaseName) << c.path;
        EXPECT_EQ(parts.strExt, c.parts.strExt) << c.path;
    }
}

TEST(PathRules, CompareNoCase_FoldsOnlyAsciiLettersAndComparesBytes)
{
    EXPECT_EQ(CPathRules::CompareNoCase("D:\\DOCS\\A.PDF", "d:\\docs\\a.pdf"), 0);
    // '-' (0x2D) is less than '\' (0x5C) and '/' (0x2F).
    EXPECT_LT(CPathRules::CompareNoCase("D:\\a-b\\x.txt", "D:\\a\\x.txt"), 0);
    EXPECT_LT(CPathRules::CompareNoCase("/a-b/x.txt", "/a/x.txt"), 0);
    EXPECT_GT(CPathRules::CompareNoCase("D:\\A\\Z.txt", "d:\\a\\y.txt"), 0);
    EXPECT_LT(CPathRules::CompareNoCase("abc", "abcd"), 0);
    EXPECT_GT(CPathRules::CompareNoCase("b", "A"), 0);
    // '_' (0x5F) sits between upper and lower case letters: letters fold to
    // lower case, so every letter sorts after it.
    EXPECT_GT(CPathRules::CompareNoCase("A", "_"), 0);
    // Bytes above 0x7F compare unsigned and are not folded.
    EXPECT_GT(CPathRules::CompareNoCase("\xC3\xA9", "z"), 0);
    EXPECT_NE(CPathRules::CompareNoCase("\xC3\x89", "\xC3\xA9"), 0);
}

TEST(PathRules, SamePath_WindowsIgnoresCasePosixDoesNot)
{
    EXPECT_TRUE(CPathRules::Windows().SamePath("D:\\DOCS\\A.PDF", "d:\\docs\\a.pdf"));
    EXPECT_FALSE(CPathRules::Posix().SamePath("/DOCS/A.PDF", "/docs/a.pdf"));
    EXPECT_TRUE(CPathRules::Posix().SamePath("/docs/a.pdf", "/docs/a.pdf"));
}

// A path keeps the one separator style it came with; the rules' own is
// only for a path that has none.
TEST(PathRules, Join_KeepsTheSeparatorTheFolderAlreadyUses)
{
    const CPathRules& win = CPathRules::Windows();
    const CPathRules& posix = CPathRules::Posix();
    EXPECT_EQ(win.Join("C:\\docs", "a.pdf"), "C:\\docs\\a.pdf");
    EXPECT_EQ(win.Join("C:/Users/zoe/docs", "a.pdf"), "C:/Users/zoe/docs/a.pdf");
    EXPECT_EQ(win.Join("C:/mixed\\docs", "a.pdf"), "C:/mixed\\docs\\a.pdf");
    EXPECT_EQ(win.Join("C:\\docs/", "a.pdf"), "C:\\docs/a.pdf");
    EXPECT_EQ(win.Join("docs", "a.pdf"), "docs\\a.pdf");
    EXPECT_EQ(posix.Join("/docs", "a.pdf"), "/docs/a.pdf");
    EXPECT_EQ(posix.Join("/docs/", "a.pdf"), "/docs/a.pdf");
    EXPECT_EQ(posix.Join("back\\slash", "a.pdf"), "back\\slash/a.pdf");
}
