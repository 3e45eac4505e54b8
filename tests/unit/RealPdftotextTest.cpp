#include "ConversionFixture.h"
#include "PdfMaker.h"

#include <filesystem>

namespace
{
using Ids = std::vector<EMessageId>;

// The real pdftotext on files written here.
using RealPdftotext = ConversionFixture;
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
