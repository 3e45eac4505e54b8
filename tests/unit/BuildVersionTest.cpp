// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BuildVersion.h"

#include <gtest/gtest.h>

namespace
{
struct VersionTextCase
{
    const char* name;
    std::optional<CBuildVersion> version;
    const char* text;
};

void PrintTo(const VersionTextCase& c, std::ostream* out)
{
    *out << c.name;
}

class BuildVersionText : public ::testing::TestWithParam<VersionTextCase>
{
};
} // namespace

TEST_P(BuildVersionText, SaysAllFourNumbersOrThatThereIsNone)
{
    const VersionTextCase& c = GetParam();
    EXPECT_EQ(CBuildVersion::Text(c.version), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, BuildVersionText,
    ::testing::Values(
        VersionTextCase{"Release", CBuildVersion(1, 2, 3, 4, false), "Version 1.2.3.4"},
        VersionTextCase{"Debug", CBuildVersion(1, 0, 0, 0, true), "Version 1.0.0.0 - debug build"},
        VersionTextCase{"LargestWords", CBuildVersion(65535, 65535, 0, 65535, false),
                        "Version 65535.65535.0.65535"},
        VersionTextCase{"None", std::nullopt, "No version information"}),
    [](const ::testing::TestParamInfo<VersionTextCase>& info) { return info.param.name; });

TEST(BuildVersion, CurrentVersion_ComesFromTheBuild)
{
    std::optional<CBuildVersion> version = CBuildVersion::Current();
#ifdef ZELTO_VERSION_MAJOR
    ASSERT_TRUE(version);
    EXPECT_EQ(version->Major(), unsigned(ZELTO_VERSION_MAJOR + 0));
    EXPECT_EQ(version->Minor(), unsigned(ZELTO_VERSION_MINOR + 0));
    EXPECT_EQ(version->Patch(), unsigned(ZELTO_VERSION_PATCH + 0));
    EXPECT_EQ(version->Tweak(), unsigned(ZELTO_VERSION_TWEAK + 0));
#ifdef ZELTO_DEBUG_BUILD
    EXPECT_TRUE(version->IsDebug());
    EXPECT_TRUE(CBuildVersion::Text(version).ends_with(" - debug build"));
#else
    EXPECT_FALSE(version->IsDebug());
    EXPECT_FALSE(CBuildVersion::Text(version).ends_with(" - debug build"));
#endif
#else
    EXPECT_FALSE(version);
#endif
}
