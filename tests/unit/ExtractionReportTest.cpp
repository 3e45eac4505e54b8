// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ExtractionReport.h"
#include "doc/ReasonWording.h"

#include <gtest/gtest.h>

TEST(ExtractionReport, CutDropsTheLastLineFeedAndWhatFollows)
{
    struct Case
    {
        std::string captured;
        std::string cut;
    };
    const Case cases[] = {
        {"Error: bad\n", "Error: bad"},
        {"Syntax Warning: x\nSyntax Warning: y\n", "Syntax Warning: x\nSyntax Warning: y"},
        {"Error: first\nWarning (continuing anyway)", "Error: first"},
        {"\n", ""},
        {"no line feed at all", "no line feed at all"},
        {"a\n\n", "a\n"},
    };
    for (const Case& c : cases)
    {
        CExtractionReport report(c.captured);
        EXPECT_EQ(report.IsEmpty(), c.cut.empty()) << c.captured;
        EXPECT_EQ(report.Cut(), c.cut) << c.captured;
    }
    EXPECT_TRUE(CExtractionReport("").IsEmpty());
}

TEST(ExtractionReport, ShortReportIsShownWhole)
{
    CExtractionReport report("line 1\nline 2\n");
    EXPECT_EQ(CReasonWording::ReportForDisplay(report.Cut()), "line 1\nline 2");
}

TEST(ExtractionReport, LongReportIsShortenedWithACountOfTheRest)
{
    std::string captured;
    for (int i = 1; i <= 8700; ++i)
        captured += "Syntax Error (" + std::to_string(i) + "): Illegal character\n";
    CExtractionReport report(captured);
    std::string shown = CReasonWording::ReportForDisplay(report.Cut());
    EXPECT_LE(shown.size(), CReasonWording::kMaxShownChars + 100);
    EXPECT_EQ(shown.rfind("Syntax Error (1): Illegal character\n", 0), 0u);
    EXPECT_NE(shown.find("Syntax Error (25):"), std::string::npos);
    EXPECT_EQ(shown.find("Syntax Error (26):"), std::string::npos);
    EXPECT_TRUE(shown.ends_with("\n[8675 more lines not shown]")) << shown;
}

TEST(ExtractionReport, OverlongLinesAreCutByCharactersAndSaySo)
{
    std::string shown = CReasonWording::ReportForDisplay(
        CExtractionReport(std::string(10000, 'x') + "\nsecond\nthird\n").Cut());
    EXPECT_EQ(shown, std::string(4000, 'x') + "\n[rest of the line and 2 more lines not shown]");
    shown =
        CReasonWording::ReportForDisplay(CExtractionReport(std::string(10000, 'x') + "\n").Cut());
    EXPECT_EQ(shown, std::string(4000, 'x') + "\n[rest of the line not shown]");

    // Lines that fit one by one but not together stop at the character limit.
    std::string wide;
    for (int i = 0; i < 10; ++i)
        wide += std::string(999, 'a' + i) + "\n";
    shown = CReasonWording::ReportForDisplay(CExtractionReport(wide).Cut());
    EXPECT_TRUE(shown.ends_with("[6 more lines not shown]")) << shown.substr(shown.size() - 40);
}

TEST(ExtractionReport, ACutNeverSplitsAUtf8Character)
{
    std::string captured = std::string(3999, 'x') + "\xC3\xA9" + "tail\nmore\n";
    std::string shown = CReasonWording::ReportForDisplay(CExtractionReport(captured).Cut());
    EXPECT_EQ(shown.substr(0, 4000), std::string(3999, 'x') + "\n");
}
