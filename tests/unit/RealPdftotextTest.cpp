// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionFixture.h"
#include "PdfMaker.h"
#include "SystemSkip.h"

#include "extract/ConversionOptions.h"
#include "platform/CancelFlag.h"

#include <filesystem>

namespace
{
using Ids = std::vector<EMessageId>;

// The real pdftotext on files written here.
class RealPdftotext : public ConversionFixture
{
protected:
    void SetUp() override
    {
        ConversionFixture::SetUp();
        if (RealToolMissingOnWindows())
            GTEST_SKIP() << "no pdftotext.exe on PATH";
    }
};
} // namespace

TEST_F(RealPdftotext, PdfWithText_ListedSilentlyWithItsWords)
{
    std::string pdf = m_dir / "Report.PDF";
    CPdfMaker::Write(pdf, {"Quarterly report\nSales rose (a lot).", "Second page"});
    EXPECT_TRUE(Convert(pdf));
    EXPECT_TRUE(m_prompts.Messages().empty());
    std::string text = CTempDir::ReadFile(m_dir / "Report.txt");
    EXPECT_NE(text.find("Quarterly report"), std::string::npos);
    EXPECT_NE(text.find("Sales rose (a lot)."), std::string::npos);
    EXPECT_NE(text.find("Second page"), std::string::npos);
}

TEST_F(RealPdftotext, BlankPage_ListedWithTheNoTextMessage)
{
    std::string pdf = m_dir / "scan.pdf";
    CPdfMaker::Write(pdf, {""});
    EXPECT_TRUE(Convert(pdf));
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::NoTextExtracted});
}

// The tool reports an unknown operator as an error, gets past it and ends
// with success.
TEST_F(RealPdftotext, ReportedErrorThatTheToolGetsPast_ListedWithAWarning)
{
    std::string bytes = CPdfMaker::Build({"Survives\nthe odd operator"});
    // The same length, so the file's offsets still hold.
    bytes.replace(bytes.find("Tj T*"), 5, "Tj Zz");
    std::string pdf = m_dir.Write("odd.pdf", bytes);
    EXPECT_TRUE(Convert(pdf));
    ASSERT_EQ(m_prompts.FirstIds(), Ids{EMessageId::ExtractionWarning});
    EXPECT_NE(m_prompts.Messages()[0].strText.find("Unknown operator 'Zz'"), std::string::npos);
    EXPECT_NE(CTempDir::ReadFile(m_dir / "odd.txt").find("Survives"), std::string::npos);
}

// Without Poppler's encoding data the characters would be lost and the tool
// would report a missing language pack.
TEST_F(RealPdftotext, ChineseInAFontThatIsNotEmbedded_ListedSilentlyWithItsCharacters)
{
    std::string pdf = m_dir.Write("chinese.pdf", CPdfMaker::BuildChinese(u"中文测试"));
    EXPECT_TRUE(Convert(pdf));
    EXPECT_TRUE(m_prompts.Messages().empty()) << m_prompts.Messages()[0].strText;
    EXPECT_NE(CTempDir::ReadFile(m_dir / "chinese.txt").find("中文测试"), std::string::npos);
}

TEST_F(RealPdftotext, FileThatIsNotAPdf_DroppedWithTheToolsReport)
{
    std::string pdf = m_dir.Write("fake.pdf", "This is plain text, not a PDF.\n");
    EXPECT_FALSE(Convert(pdf));
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    const CRecordedMessage& message = m_prompts.Messages().front();
    EXPECT_EQ(message.ids, Ids{EMessageId::ExtractionFailed});
    EXPECT_NE(message.strText.find("May not be a PDF file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "fake.txt"));
}

TEST_F(RealPdftotext, EmptyFile_Dropped)
{
    std::string pdf = m_dir.Write("empty.pdf", "");
    EXPECT_FALSE(Convert(pdf));
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::ExtractionFailed});
}

TEST_F(RealPdftotext, NamesWithSpacesAndUnicode)
{
    std::string pdf = m_dir / "Été 2026 – notes.pdf";
    CPdfMaker::Write(pdf, {"Bonjour"});
    EXPECT_TRUE(Convert(pdf));
    EXPECT_NE(CTempDir::ReadFile(m_dir / "Été 2026 – notes.txt").find("Bonjour"),
              std::string::npos);
}

namespace
{
struct FormCase
{
    const char* name;
    CTextForm form;
    std::vector<std::string> toolOptions; // the same form asked of the tool itself
};

void PrintTo(const FormCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextForm : public RealPdftotext, public ::testing::WithParamInterface<FormCase>
{
};

CTextForm Form(CTextForm::ELayout layout, bool crLf, bool pageBreaks, bool byteOrderMark)
{
    CTextForm form;
    form.eLayout = layout;
    form.bCrLf = crLf;
    form.bPageBreaks = pageBreaks;
    form.bByteOrderMark = byteOrderMark;
    return form;
}
} // namespace

// Each form gives byte for byte what the tool writes when asked for it, in
// two columns that the layouts read differently.
TEST_P(TextForm, GivesTheToolsOwnTextInThatForm)
{
    const FormCase& c = GetParam();
    std::string pdf = m_dir / "columns.pdf";
    CPdfMaker::Write(pdf, {"Left column first line   Right column first line\nLeft second   Right "
                           "second\n\nZoë ✓ 日本",
                           "Second page"});
    std::unique_ptr<CConverter> converter = m_table.FindConverter(pdf);
    CConversionOptions options;
    options.form = c.form;
    CCancelFlag cancel;
    EXPECT_TRUE(
        converter->FinishConversion(converter->RunConversion({options, cancel, {}})).bListed);

    CChildRequest own;
    own.arguments = {CConverterContext::kDefaultToolName};
    own.arguments.insert(own.arguments.end(), c.toolOptions.begin(), c.toolOptions.end());
    own.arguments.insert(own.arguments.end(), {pdf, "-"});
    std::string expected = c.form.bByteOrderMark ? CTextForm::kByteOrderMark : "";
    own.onOutput = [&](const char* bytes, std::size_t count)
    {
        expected.append(bytes, count);
        return 0;
    };
    ASSERT_EQ(CChildProcess::Run(own).nExitStatus, 0);
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "columns.txt"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, TextForm,
    ::testing::Values(FormCase{"Default", CTextForm{}, {"-layout"}},
                      FormCase{"ReadingOrder",
                               Form(CTextForm::ELayout::ReadingOrder, false, true, false),
                               {"-enc", "UTF-8"}},
                      FormCase{"Raw", Form(CTextForm::ELayout::Raw, false, true, false), {"-raw"}},
                      FormCase{"CrLfWithoutPageBreaksWithMark",
                               Form(CTextForm::ELayout::Physical, true, false, true),
                               {"-layout", "-eol", "dos", "-nopgbrk"}}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return info.param.name; });

namespace
{
struct GarbledCase
{
    const char* name;
    bool bCheck;
    bool bPageBreaks;
    EFileOutcome eKind;
};

void PrintTo(const GarbledCase& c, std::ostream* out)
{
    *out << c.name;
}

class GarbledCheck : public RealPdftotext, public ::testing::WithParamInterface<GarbledCase>
{
};
} // namespace

// A real document whose second and third pages lost their fonts' maps to
// Unicode: the check names those pages and changes nothing in the text,
// which is the tool's own in every form.
TEST_P(GarbledCheck, NamesTheGarbledPagesAndWritesTheToolsText)
{
    const GarbledCase& c = GetParam();
    std::string pdf = m_dir / "mixed.pdf";
    std::filesystem::copy_file(CTempDir::FsPath(ZELTO_GARBLED_FIXTURES "/mixed.pdf"),
                               CTempDir::FsPath(pdf));
    std::unique_ptr<CConverter> converter = m_table.FindConverter(pdf);
    CConversionOptions options;
    options.bGarbledCheck = c.bCheck;
    options.form.bPageBreaks = c.bPageBreaks;
    CCancelFlag cancel;
    CFileOutcome outcome =
        converter->FinishConversion(converter->RunConversion({options, cancel, {}}));

    EXPECT_TRUE(outcome.bListed);
    EXPECT_EQ(outcome.eKind, c.eKind);
    if (c.eKind == EFileOutcome::Garbled)
    {
        EXPECT_EQ(outcome.reasons.back().messages[0].args[1].Text(), "2-3");
    }
    CChildRequest own;
    own.arguments = {CConverterContext::kDefaultToolName, "-layout"};
    if (!c.bPageBreaks)
        own.arguments.push_back("-nopgbrk");
    own.arguments.insert(own.arguments.end(), {pdf, "-"});
    std::string expected;
    own.onOutput = [&](const char* bytes, std::size_t count)
    {
        expected.append(bytes, count);
        return 0;
    };
    ASSERT_EQ(CChildProcess::Run(own).nExitStatus, 0);
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "mixed.txt"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    OnAndOff, GarbledCheck,
    ::testing::Values(GarbledCase{"CheckedWithPageBreaks", true, true, EFileOutcome::Garbled},
                      GarbledCase{"CheckedWithoutPageBreaks", true, false, EFileOutcome::Garbled},
                      GarbledCase{"NotChecked", false, false, EFileOutcome::Converted}),
    [](const ::testing::TestParamInfo<GarbledCase>& info) { return info.param.name; });
