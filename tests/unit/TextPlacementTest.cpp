// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc/TextPlacement.h"

#include <gtest/gtest.h>

namespace
{
struct PlacementCase
{
    const char* name;
    CPathRules::EKind kind;
    const char* textFolder;
    const char* root; // "" for a file added on its own
    const char* source;
    const char* expected;
};

void PrintTo(const PlacementCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextPlacement : public ::testing::TestWithParam<PlacementCase>
{
};
} // namespace

TEST_P(TextPlacement, MirrorsEachAddedFolderUnderTheTextFolder)
{
    const PlacementCase& c = GetParam();
    CPathRules rules(c.kind);
    EXPECT_EQ(CTextPlacement(c.textFolder, rules).FolderFor(c.source, c.root), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPlace, TextPlacement,
    ::testing::Values(
        PlacementCase{"BesideWithoutTextFolder", CPathRules::EKind::Posix, "", "/src", "/src/a.pdf",
                      ""},
        PlacementCase{"AloneAtTheTop", CPathRules::EKind::Posix, "/texts", "", "/src/sub/a.pdf",
                      "/texts/"},
        PlacementCase{"TopOfTheWalk", CPathRules::EKind::Posix, "/texts/", "/share/Docs",
                      "/share/Docs/a.pdf", "/texts/Docs/"},
        PlacementCase{"NestedBelowTheWalk", CPathRules::EKind::Posix, "/texts", "/share/Docs/",
                      "/share/Docs/2024/Q1/a.pdf", "/texts/Docs/2024/Q1/"},
        PlacementCase{"NonAsciiNames", CPathRules::EKind::Posix, "/Texte", "/home/zoë/Übersicht",
                      "/home/zoë/Übersicht/文書/a.pdf", "/Texte/Übersicht/文書/"},
        PlacementCase{"TheRootWalked", CPathRules::EKind::Posix, "/texts", "/", "/srv/a.pdf",
                      "/texts/srv/"},
        PlacementCase{"WindowsFolders", CPathRules::EKind::Windows, "D:\\Texts", "C:\\Share\\Docs",
                      "C:\\Share\\Docs\\Sub\\a.pdf", "D:\\Texts\\Docs\\Sub\\"}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });
