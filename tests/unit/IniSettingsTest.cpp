// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/IniSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

using namespace std::string_literals;

namespace
{
struct IniReadCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string text;
    int number;
};

void PrintTo(const IniReadCase& c, std::ostream* out)
{
    *out << c.name;
}

class IniSettingsRead : public ::testing::TestWithParam<IniReadCase>
{
};

CIniSettings LoadText(const CTempDir& folder, const std::string& text)
{
    int error = -1;
    std::optional<CIniSettings> settings = CIniSettings::Load(folder.Write("z.ini", text), error);
    EXPECT_EQ(error, 0);
    return settings.value();
}
} // namespace

TEST_P(IniSettingsRead, GivesTheValueTheWindowReads)
{
    const IniReadCase& c = GetParam();
    CTempDir folder;
    CIniSettings settings = LoadText(folder, c.file);
    EXPECT_EQ(settings.GetString(c.section, c.key), c.text);
    EXPECT_EQ(settings.GetInt(c.section, c.key), c.number);
}

INSTANTIATE_TEST_SUITE_P(
    IniSettingsFileForms, IniSettingsRead,
    ::testing::Values(
        IniReadCase{"GeneralGroup", "[General]\nFile%20Open%20Path=/srv/pdf/\n", "",
                    "File Open Path", "/srv/pdf/", 0},
        IniReadCase{"NoHeader", "StartUp=3\n[Tip]\nStartUp=1\n", "", "StartUp", "3", 3},
        IniReadCase{"Section", "[General]\nStartUp=3\n[Tip]\nStartUp=1\n", "Tip", "StartUp", "1",
                    1},
        IniReadCase{"CrLf", "[Tip]\r\nFilePos=42\r\n[General]\r\nX=y\r\n", "Tip", "FilePos", "42",
                    42},
        IniReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Tip]\nStartUp=1\n", "Tip", "StartUp", "1", 1},
        IniReadCase{"NonAscii", "[General]\nk%E9y%U20AC=\"D\xC3\xB6k, \xE2\x82\xAC\"\n", "",
                    "k\xC3\xA9y\xE2\x82\xAC", "D\xC3\xB6k, \xE2\x82\xAC", 0},
        IniReadCase{"CommasUnquoted", "A=0, 1,-1 ,2\n", "", "A", "0,1,-1,2", 0},
        IniReadCase{"Escapes", R"(A=say \"hi\" \\ C:\\x\tend\n)", "", "A",
                    "say \"hi\" \\ C:\\x\tend\n", 0},
        IniReadCase{"NumericEscapes", R"(A=\x1\x2\x37\0\x62\101)", "", "A",
                    "\x01\x02"
                    "7\0bA"s,
                    0},
        IniReadCase{"BlanksDropped", "A=  x y \t\n", "", "A", "x y", 0},
        IniReadCase{"QuotedBlanksKept", "A=\" x \"\n", "", "A", " x ", 0},
        IniReadCase{"EscapedBlankKept", "A=x \\x20 \n", "", "A", "x  ", 0},
        IniReadCase{"ContinuedLine", "A=one \\\r\n two\n", "", "A", "one  two", 0},
        IniReadCase{"QuoteSpansLines", "A=\"x\ny\"\nB=1\n", "", "A", "x\ny", 0},
        IniReadCase{"Comments", "; StartUp=5\n[Tip]\nStartUp=1 ; was 2\n# note\n", "Tip", "StartUp",
                    "1", 1},
        IniReadCase{"Bytes", "A=@ByteArray(/srv/pdf)\n", "", "A", "/srv/pdf", 0},
        IniReadCase{"OtherType", "A=@Rect(1 2 3 4)\n", "", "A", "", 0},
        IniReadCase{"DoubledAt", "A=@@home\n", "", "A", "@home", 0},
        IniReadCase{"TextWithNul", R"(A=@String(a\0b))", "", "A", "a\0b"s, 0},
        IniReadCase{"GroupNamedGeneral", "[%General]\nA=1\n[general]\nA=2\n", "General", "A", "1",
                    1},
        IniReadCase{"BackslashSeparatesGroups", "[Tip]\na\\b=3\n", "Tip/a", "b", "3", 3},
        IniReadCase{"SlashesNormalised", "[Tip]\nStartUp=1\n", "/Tip/", "/StartUp/", "1", 1},
        IniReadCase{"LaterEntryWins", "[Tip]\nA=1\n[General]\n[Tip]\nA=2\n", "Tip", "A", "2", 2},
        IniReadCase{"InvalidUtf8", "A=\xFFz\n", "", "A", "\xEF\xBF\xBDz", 0},
        IniReadCase{"NumberInBlanks", "A=\" 12\t\"\n", "", "A", " 12\t", 12},
        IniReadCase{"NumberWithPlus", "A=+7\n", "", "A", "+7", 7},
        IniReadCase{"NegativeNumber", "A=-7\n", "", "A", "-7", -7},
        IniReadCase{"NumberPastInt", "A=2147483648\n", "", "A", "2147483648", INT_MIN},
        IniReadCase{"NumberPast64Bits", "A=9223372036854775808\n", "", "A", "9223372036854775808",
                    0},
        IniReadCase{"NumberWithText", "A=12abc\n", "", "A", "12abc", 0},
        IniReadCase{"HexadecimalText", "A=0x10\n", "", "A", "0x10", 0}),
    [](const ::testing::TestParamInfo<IniReadCase>& info) { return info.param.name; });

TEST(IniSettings, AbsentValue_ReadsAsEmptyAndZero)
{
    CTempDir folder;
    CIniSettings settings = LoadText(folder, "[Tip]\nStartUp=1\n");
    EXPECT_EQ(settings.GetString("Tip", "FilePos"), "");
    EXPECT_EQ(settings.GetInt("", "StartUp"), 0);
    EXPECT_EQ(settings.GetString("", ""), "");
}

TEST(IniSettings, NamesDifferingInCase_MatchOnWindowsOnly)
{
    CTempDir folder;
    CIniSettings settings = LoadText(folder, "[Tip]\nStartUp=1\n");
#ifdef _WIN32
    EXPECT_EQ(settings.GetInt("tip", "startup"), 1);
#else
    EXPECT_EQ(settings.GetInt("tip", "startup"), 0);
#endif
}

TEST(IniSettings, ValuesSet_AreReadBackButNeverWritten)
{
    CTempDir folder;
    const std::string text = "[Tip]\nStartUp=1\n";
    std::string path = folder.Write("z.ini", text);
    int error = -1;
    std::optional<CIniSettings> settings = CIniSettings::Load(path, error);
    ASSERT_TRUE(settings);
    settings->SetInt("Tip", "StartUp", -5);
    settings->SetString("", "File Open Path", "/srv/pdf/");
    settings->SetString("Tip", "FilePos", " 12 ");
    EXPECT_EQ(settings->GetString("Tip", "StartUp"), "-5");
    EXPECT_EQ(settings->GetInt("Tip", "StartUp"), -5);
    EXPECT_EQ(settings->GetString("", "File Open Path"), "/srv/pdf/");
    EXPECT_EQ(settings->GetInt("Tip", "FilePos"), 12);
    EXPECT_EQ(CTempDir::ReadFile(path), text);
}

TEST(IniSettings, FileWithNonAsciiPath_IsRead)
{
    CTempDir folder;
    std::string path = folder.Write("D\xC3\xB6k\xC3\xBCmente/Zelto.conf", "[Tip]\nStartUp=1\n");
    int error = -1;
    std::optional<CIniSettings> settings = CIniSettings::Load(path, error);
    ASSERT_TRUE(settings);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(settings->GetInt("Tip", "StartUp"), 1);
}

TEST(IniSettings, FileThatCannotBeRead_GivesNothingWithTheReason)
{
    CTempDir folder;
    int error = 0;
    EXPECT_FALSE(CIniSettings::Load(folder / "missing.ini", error));
    EXPECT_EQ(error, ENOENT);
    error = 0;
    EXPECT_FALSE(CIniSettings::Load(folder.MakeFolder("settings"), error));
    EXPECT_NE(error, 0);
}
