// SPDX-License-Identifier: GPL-3.0-or-later
#include "person/TipsFile.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "platform/MemorySettings.h"
#include "platform/MessageTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using Tips = std::vector<std::string>;

std::string Text(EMessageId id)
{
    return std::string(CMessageTable::Text(id));
}

std::string TimeTextOf(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return std::string();
    std::string text = CTipsFile::FileTimeText(fileno(file));
    std::fclose(file);
    return text;
}

bool KeepsBirthTime(const std::string& path)
{
#ifdef STATX_BTIME
    struct statx status = {};
    return ::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &status) == 0 &&
           (status.stx_mask & STATX_BTIME) != 0;
#else
    (void)path;
    return false;
#endif
}

// One run of the program: the tips file is opened, the first tip read, and
// the position stored when the object goes.
std::string FirstTipOfRun(const std::string& path, CSettings& settings, CPrompts& prompts)
{
    CTipsFile tips(path, settings, prompts);
    return tips.FirstText();
}

// Writes the file again under a new inode once the time text can differ
// from the old one (the text counts whole seconds).
void ReplaceFile(const CTempDir& dir, const std::string& name, const std::string& bytes)
{
    std::string path = dir / name;
    std::string before = TimeTextOf(path);
    for (int attempt = 0; attempt < 400; ++attempt)
    {
        std::filesystem::remove(path);
        dir.Write(name, bytes);
        if (TimeTextOf(path) != before)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

class TipsFile : public ::testing::Test
{
protected:
    CTempDir m_dir;
    CMemorySettings m_settings;
    CScriptedPrompts m_prompts;
};

struct SkippedLinesCase
{
    const char* name;
    std::string content;
    Tips tips;
};

// A case prints as its name: long lines would bury the failure.
void PrintTo(const SkippedLinesCase& c, std::ostream* out)
{
    *out << c.name;
}

class TipsFileSkippedLines : public TipsFile, public ::testing::WithParamInterface<SkippedLinesCase>
{
};

struct NoTipsCase
{
    const char* name;
    const char* content;
    int storedPosition;
};

void PrintTo(const NoTipsCase& c, std::ostream* out)
{
    *out << c.name;
}

class TipsFileWithoutTips : public TipsFile, public ::testing::WithParamInterface<NoTipsCase>
{
};
} // namespace

TEST_F(TipsFile, FirstRun_ShowsFirstTipAndStoresTimeAndPosition)
{
    std::string path = m_dir.Write("tips.txt", "; comment\nFirst tip\nSecond tip\n");
    {
        CTipsFile tips(path, m_settings, m_prompts);
        EXPECT_TRUE(tips.IsOpen());
        EXPECT_EQ(tips.FirstText(), "First tip\n");
        EXPECT_EQ(m_settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
        EXPECT_FALSE(m_settings.Has("Tip", "FilePos"));
    }
    EXPECT_EQ(m_settings.GetInt("Tip", "FilePos"),
              int(std::string("; comment\nFirst tip\n").size()));
    EXPECT_FALSE(m_settings.Has("Tip", "StartUp"));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(TipsFile, Runs_AdvanceOneTipEachAndWrapToFirst)
{
    std::string path = m_dir.Write("tips.txt", "One\nTwo\nThree\n");
    Tips shown;
    for (int run = 0; run < 5; ++run)
        shown.push_back(FirstTipOfRun(path, m_settings, m_prompts));
    EXPECT_EQ(shown, (Tips{"One\n", "Two\n", "Three\n", "One\n", "Two\n"}));
}

TEST_F(TipsFile, ReadNextTip_AdvancesAndWrapsWithinOneRun)
{
    std::string path = m_dir.Write("tips.txt", "One\n\nTwo\n;last comment\n");
    {
        CTipsFile tips(path, m_settings, m_prompts);
        EXPECT_EQ(tips.FirstText(), "One\n");
        EXPECT_EQ(tips.ReadNextTip(), "Two\n");
        EXPECT_EQ(tips.ReadNextTip(), "One\n");
        EXPECT_EQ(tips.ReadNextTip(), "Two\n");
    }
    // The next run goes on after the last tip read.
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "One\n");
}

TEST_P(TipsFileSkippedLines, NeverAppearAndTheTipsComeInOrderTwice)
{
    const SkippedLinesCase& c = GetParam();
    std::string path = m_dir.Write("tips.txt", c.content);
    CTipsFile file(path, m_settings, m_prompts);
    Tips seen{file.FirstText()};
    for (std::size_t i = 1; i < 2 * c.tips.size(); ++i)
        seen.push_back(file.ReadNextTip());
    Tips twice = c.tips;
    twice.insert(twice.end(), c.tips.begin(), c.tips.end());
    EXPECT_EQ(seen, twice);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, TipsFileSkippedLines,
    ::testing::Values(
        SkippedLinesCase{"Comment", "; a comment\nReal\n", {"Real\n"}},
        SkippedLinesCase{"Space", " indented\nReal\n", {"Real\n"}},
        SkippedLinesCase{"Tab", "\ttabbed\nReal\n", {"Real\n"}},
        SkippedLinesCase{"EmptyLine", "\n\nReal\n\n", {"Real\n"}},
        SkippedLinesCase{"NumberSignIsATip", "# hash\n;x\nReal\n", {"# hash\n", "Real\n"}},
        SkippedLinesCase{"LastLineWithoutLineEnd", "Real\nLast", {"Real\n", "Last"}},
        SkippedLinesCase{"CrLfLinesReadLikeTextMode",
                         "First\r\n\r\n;note\r\nSecond\r\n",
                         {"First\n", "Second\n"}},
        SkippedLinesCase{"LongLineComesInPiecesOf999",
                         std::string(1200, 'x') + "\nShort\n",
                         {std::string(999, 'x'), std::string(201, 'x') + "\n", "Short\n"}},
        SkippedLinesCase{"SecondPieceOfALongLineIsJudgedLikeALine",
                         std::string(999, 'a') + " rest of the line\nNext\n",
                         {std::string(999, 'a'), "Next\n"}}),
    [](const ::testing::TestParamInfo<SkippedLinesCase>& info) { return info.param.name; });

TEST_F(TipsFile, StoredTimeTextDiffers_RestartsAtFirstTip)
{
    std::string path = m_dir.Write("tips.txt", "One\nTwo\nThree\n");
    m_settings.SetString("Tip", "TimeStamp", "Thu Jan  1 00:00:00 1970");
    m_settings.SetInt("Tip", "FilePos", 4);
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "One\n");
    EXPECT_EQ(m_settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
    EXPECT_EQ(m_settings.GetInt("Tip", "FilePos"), 4);
}

TEST_F(TipsFile, ReplacedFile_RestartsAtFirstTip)
{
    std::string path = m_dir.Write("tips.txt", "One\nTwo\nThree\n");
    FirstTipOfRun(path, m_settings, m_prompts);
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "Two\n");
    std::string oldTime = m_settings.GetString("Tip", "TimeStamp");

    ReplaceFile(m_dir, "tips.txt", "New one\nNew two\nNew three\n");
    ASSERT_NE(TimeTextOf(path), oldTime);
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "New one\n");
    EXPECT_EQ(m_settings.GetString("Tip", "TimeStamp"), TimeTextOf(path));
}

TEST_F(TipsFile, FileEditedInPlace_KeepsStoredPosition)
{
    std::string path = m_dir.Write("tips.txt", "Alpha\nBravo\nCharlie\n");
    if (!KeepsBirthTime(path))
        GTEST_SKIP() << "this file system keeps no birth time; editing changes the time text";
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "Alpha\n");
    EXPECT_EQ(m_settings.GetInt("Tip", "FilePos"), 6);

    // Same file, new contents: the stored position now falls inside a line,
    // and the rest of that line is the next tip.
    std::FILE* file = std::fopen(path.c_str(), "r+");
    ASSERT_TRUE(file);
    std::fputs("XYZ\nAlphabet soup\nZulu\n", file);
    std::fclose(file);
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "phabet soup\n");
}

TEST_F(TipsFile, PositionBeyondShortenedEnd_ShowsFirstTip)
{
    std::string path = m_dir.Write("tips.txt", "One\nTwo\n");
    m_settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    m_settings.SetInt("Tip", "FilePos", 5000);
    EXPECT_EQ(FirstTipOfRun(path, m_settings, m_prompts), "One\n");
    EXPECT_EQ(m_settings.GetInt("Tip", "FilePos"), 4);
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(TipsFile, MissingFile_GivesMissingFileTextAndStoresNothing)
{
    {
        CTipsFile tips(m_dir / "missing/tips.txt", m_settings, m_prompts);
        EXPECT_FALSE(tips.IsOpen());
        EXPECT_EQ(tips.FirstText(), Text(EMessageId::TipsFileMissing));
        EXPECT_EQ(tips.ReadNextTip(), Text(EMessageId::TipsFileMissing));
    }
    EXPECT_EQ(m_settings.WriteCount(), 0);
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(TipsFile, FolderInPlaceOfFile_CountsAsMissing)
{
    std::string path = m_dir.MakeFolder("tips.txt");
    {
        CTipsFile tips(path, m_settings, m_prompts);
        EXPECT_FALSE(tips.IsOpen());
        EXPECT_EQ(tips.FirstText(), Text(EMessageId::TipsFileMissing));
    }
    EXPECT_EQ(m_settings.WriteCount(), 0);
}

TEST_F(TipsFile, UnreachablePosition_ReportsUnreadableFileAndGivesEmptyTip)
{
    std::string path = m_dir.Write("tips.txt", "One\nTwo\n");
    m_settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    m_settings.SetInt("Tip", "FilePos", -7);
    {
        CTipsFile tips(path, m_settings, m_prompts);
        EXPECT_TRUE(tips.IsOpen());
        EXPECT_EQ(tips.FirstText(), std::string());
        EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::TipsFileUnreadable});
        ASSERT_FALSE(m_prompts.Messages().empty());
        EXPECT_EQ(m_prompts.Messages().front().style, EMessageStyle::Plain);
        EXPECT_EQ(tips.ReadNextTip(), "One\n");
    }
    EXPECT_EQ(m_settings.GetInt("Tip", "FilePos"), 4);
}

TEST_P(TipsFileWithoutTips, SearchEndsWithUnreadableFileText)
{
    const NoTipsCase& c = GetParam();
    std::string path = m_dir.Write("tips.txt", c.content);
    m_settings.SetString("Tip", "TimeStamp", TimeTextOf(path));
    m_settings.SetInt("Tip", "FilePos", c.storedPosition);
    CTipsFile tips(path, m_settings, m_prompts);
    EXPECT_EQ(tips.FirstText(), Text(EMessageId::TipsFileUnreadable));
    EXPECT_EQ(tips.ReadNextTip(), Text(EMessageId::TipsFileUnreadable));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, TipsFileWithoutTips,
                         ::testing::Values(NoTipsCase{"EmptyFile", "", 0},
                                           NoTipsCase{"OnlyComments", "; one\n; two\n", 0},
                                           NoTipsCase{"OnlySkippedLinesMidFile",
                                                      "; one\n\n  two\n\tthree\n", 7}),
                         [](const ::testing::TestParamInfo<NoTipsCase>& info)
                         { return info.param.name; });

TEST_F(TipsFile, FileTimeText_IsCtimeTextWithoutLineEnd)
{
    std::string path = m_dir.Write("tips.txt", "One\n");
    std::string text = TimeTextOf(path);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4})")))
        << text;
}

TEST_F(TipsFile, StartUpSetting_ZeroOrMissingMeansShow)
{
    EXPECT_TRUE(CTipsFile::ShowAtStartup(m_settings));
    CTipsFile::StoreShowAtStartup(m_settings, false);
    EXPECT_EQ(m_settings.GetInt("Tip", "StartUp"), 1);
    EXPECT_FALSE(CTipsFile::ShowAtStartup(m_settings));
    m_settings.SetInt("Tip", "StartUp", 7);
    EXPECT_FALSE(CTipsFile::ShowAtStartup(m_settings));
    CTipsFile::StoreShowAtStartup(m_settings, true);
    EXPECT_EQ(m_settings.GetInt("Tip", "StartUp"), 0);
    EXPECT_TRUE(CTipsFile::ShowAtStartup(m_settings));
}

TEST_F(TipsFile, ShippedTipsFile_Holds15To25UsableTips)
{
    ASSERT_TRUE(std::filesystem::is_regular_file(ZELTO_SHIPPED_TIPS_FILE));
    CTipsFile tips(ZELTO_SHIPPED_TIPS_FILE, m_settings, m_prompts);
    std::set<std::string> seen;
    std::string tip = tips.FirstText();
    while (!seen.contains(tip))
    {
        ASSERT_TRUE(tip.size() > 20 && tip.size() < 999) << tip;
        ASSERT_EQ(tip.back(), '\n') << tip;
        seen.insert(tip);
        tip = tips.ReadNextTip();
    }
    EXPECT_TRUE(seen.size() >= 15 && seen.size() <= 25) << seen.size();
    EXPECT_TRUE(m_prompts.Messages().empty());
}
