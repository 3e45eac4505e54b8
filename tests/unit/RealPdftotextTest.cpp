#include "ConversionFixture.h"
#include "PdfMaker.h"
#include "SystemSkip.h"

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
