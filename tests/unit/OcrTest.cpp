// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeTool.h"
#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "doc/AddReport.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "extract/OcrReader.h"
#include "platform/MemorySettings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using Ids = std::vector<EMessageId>;

// Add operations with OCR turned on, the real pdftotext, and, unless a test
// says otherwise, stand-ins for pdftoppm and tesseract whose calls are
// logged: pdftoppm writes a tiny image, tesseract runs the given script
// body with the output base in $2.
class Ocr : public ::testing::Test
{
protected:
    Ocr()
    {
        m_settings.SetInt("", CAddOptions::kConversionsAtOnce, 1);
        m_settings.SetInt("", CAddOptions::kReadScannedPages, 1);
    }

    void SetUp() override { SKIP_ON_WINDOWS("the OCR stand-ins are shell scripts"); }

    void FakeOcrTools(const std::string& tesseractBody)
    {
        Script("pdftoppm", "for a; do base=$a; done\n"
                           "printf 'P5 1 1 255\\n\\377' > \"$base.pgm\"\n");
        Script("tesseract", tesseractBody);
        m_pPath = std::make_unique<CScopedPath>(m_bin.Path() + ":" + std::getenv("PATH"));
    }
    void Script(const std::string& name, const std::string& body)
    {
        std::string path = m_bin.Write(name, "#!/bin/sh\necho \"" + name +
                                                 " $*\" >> \"${0%/*}/calls.log\"\n" + body);
        fs::permissions(path, fs::perms::owner_all);
    }
    std::string Calls() const
    {
        std::ifstream log(m_bin / "calls.log");
        return std::string(std::istreambuf_iterator<char>(log), {});
    }
    std::string BlankPdf(const std::string& name) const
    {
        return m_dir.Write(name, CPdfMaker::Build({""}));
    }
    std::string TextOf(const std::string& pdf) const
    {
        return CTempDir::ReadFile(pdf.substr(0, pdf.size() - 3) + "txt");
    }

    CTempDir m_dir;
    CTempDir m_bin;
    std::unique_ptr<CScopedPath> m_pPath;
    CScriptedPrompts m_prompts;
    CConverterTable m_table{std::make_shared<CConverterContext>()};
    CMemorySettings m_settings;
    CZeltoDoc m_doc{m_table, m_prompts, m_prompts, m_settings};
};

// A page of printed text, photographed: rendered to gray pixels at 150 dpi
// and wrapped in a PDF as a picture.
std::string ScannedPage(const CTempDir& dir, const std::string& text)
{
    std::string source = dir.Write("source.pdf", CPdfMaker::Build({text}));
    CChildResult render = CChildProcess::Run(
        {"pdftoppm", "-r", "150", "-gray", "-singlefile", source, dir / "page"}, "", nullptr);
    EXPECT_EQ(render.nExitStatus, 0) << render.strErrorOutput;
    std::string pgm = CTempDir::ReadFile(dir / "page.pgm");
    int width = 0;
    int height = 0;
    int consumed = 0;
    std::sscanf(pgm.c_str(), "P5 %d %d 255%n", &width, &height, &consumed);
    return CPdfMaker::BuildScan(width, height, pgm.substr(static_cast<std::size_t>(consumed) + 1));
}
} // namespace

TEST_F(Ocr, ScannedPage_IsReadWithTheRealToolsAndListed)
{
    ASSERT_TRUE(COcrReader::ToolsAvailable());
    std::string pdf = m_dir.Write(
        "scan.pdf", ScannedPage(m_dir, "INVOICE 4711\nPaid in full by the archive office"));
    m_doc.OnDropFiles({pdf});

    EXPECT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::ReadByOcr});
    std::string text = TextOf(pdf);
    for (const char* word : {"INVOICE", "4711", "Paid", "archive", "office"})
        EXPECT_NE(text.find(word), std::string::npos) << word << " in " << text;
    EXPECT_EQ(text.back(), '\f');
}

TEST_F(Ocr, MixedDocument_ReadsOnlyThePagesWithoutText)
{
    FakeOcrTools("echo 'Recognized words' > \"$2.txt\"\n");
    std::string pdf =
        m_dir.Write("mixed.pdf", CPdfMaker::Build({"Printed one", "", "Printed three"}));
    m_doc.OnDropFiles({pdf});

    EXPECT_EQ(m_doc.RowCount(), 1);
    std::string text = TextOf(pdf);
    std::size_t one = text.find("Printed one");
    std::size_t read = text.find("\fRecognized words\n\f");
    std::size_t three = text.find("Printed three");
    EXPECT_TRUE(one < read && read < three) << text;
    EXPECT_NE(Calls().find("pdftoppm -r 300 -gray -f 2 -l 2 "), std::string::npos) << Calls();
    EXPECT_EQ(Calls().find("-f 1 "), std::string::npos);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_NE(m_prompts.Messages()[0].strText.find("1 of its 1 pages"), std::string::npos);
}

// A real document whose second and third pages lost their fonts' maps:
// those pages, and no other, are read with OCR, and their text alone gives
// way to what OCR recognized.
TEST_F(Ocr, GarbledPages_AreReadAndOnlyTheirTextIsReplaced)
{
    FakeOcrTools("echo 'Recognized words' > \"$2.txt\"\n");
    std::string pdf = m_dir / "mixed.pdf";
    fs::copy_file(CTempDir::FsPath(ZELTO_GARBLED_FIXTURES "/mixed.pdf"), CTempDir::FsPath(pdf));
    CChildResult tool =
        CChildProcess::Run({"pdftotext", "-layout", pdf, m_dir / "own.txt"}, "", nullptr);
    ASSERT_EQ(tool.nExitStatus, 0);
    std::string own = CTempDir::ReadFile(m_dir / "own.txt");
    m_doc.OnDropFiles({pdf});

    EXPECT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::GarbledReadByOcr});
    std::vector<std::string> pages;
    for (std::size_t start = 0, end; (end = own.find('\f', start)) != std::string::npos;
         start = end + 1)
        pages.push_back(own.substr(start, end - start + 1));
    ASSERT_EQ(pages.size(), 4u);
    pages[1] = pages[2] = "Recognized words\n\f";
    EXPECT_EQ(TextOf(pdf), pages[0] + pages[1] + pages[2] + pages[3]);
    for (const char* page : {"-f 2 -l 2 ", "-f 3 -l 3 "})
        EXPECT_NE(Calls().find(page), std::string::npos) << Calls();
    EXPECT_EQ(Calls().find("-f 1 "), std::string::npos);
}

// Tesseract keeps to one thread through its own environment; the
// program's environment stays as it was.
TEST_F(Ocr, TesseractRunsOnOneThreadWithoutChangingTheProgramsEnvironment)
{
    CScopedVariable unset("OMP_THREAD_LIMIT", "");
    FakeOcrTools("echo \"threads ${OMP_THREAD_LIMIT-unset}\" >> \"${0%/*}/calls.log\"\n"
                 "echo 'Recognized' > \"$2.txt\"\n");
    std::string pdf = BlankPdf("blank.pdf");
    m_doc.OnDropFiles({pdf});

    EXPECT_NE(TextOf(pdf).find("Recognized"), std::string::npos);
    EXPECT_NE(Calls().find("threads 1\n"), std::string::npos) << Calls();
    EXPECT_EQ(std::getenv("OMP_THREAD_LIMIT"), nullptr);
}

// Recognized pages take the text's form: its line ends, and no form feeds
// when it has none, though OCR finds the pages by them.
TEST_F(Ocr, RecognizedPagesFollowTheFormOfTheText)
{
    FakeOcrTools("printf 'Recognized\\nwords\\n' > \"$2.txt\"\n");
    m_settings.SetInt("", CAddOptions::kLineEnds, 1);
    m_settings.SetInt("", CAddOptions::kPageBreaks, 0);
    std::string pdf = m_dir.Write("mixed.pdf", CPdfMaker::Build({"Printed one", ""}));
    m_doc.OnDropFiles({pdf});

    std::string text = TextOf(pdf);
    EXPECT_NE(text.find("Printed one\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Recognized\r\nwords\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find('\f'), std::string::npos) << text;
}

struct CToolCase
{
    const char* name;
    std::string tesseract;
    Ids messages;
    EFileOutcome outcome;
};

class OcrToolEnding : public Ocr, public ::testing::WithParamInterface<CToolCase>
{
};

TEST_P(OcrToolEnding, LeavesTheFileListedWithItsBlankText)
{
    const CToolCase& c = GetParam();
    FakeOcrTools(c.tesseract);
    std::string pdf = BlankPdf("blank.pdf");
    m_doc.OnDropFiles({pdf});

    EXPECT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(m_prompts.FirstIds(), c.messages);
    EXPECT_EQ(m_doc.LastAddReport()->Rows().at(0).eOutcome, c.outcome);
    EXPECT_TRUE(COcrReader::IsBlank(TextOf(pdf)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, OcrToolEnding,
    ::testing::Values(CToolCase{"Fails",
                                "echo 'Error: cannot read image' >&2; exit 1\n",
                                {EMessageId::OcrFailedNoText},
                                EFileOutcome::NoText},
                      CToolCase{"EndsWithoutText",
                                "exit 0\n",
                                {EMessageId::OcrFailedNoText},
                                EFileOutcome::NoText},
                      CToolCase{"FindsNothing",
                                "printf '\\f' > \"$2.txt\"\n",
                                {EMessageId::NoTextExtracted},
                                EFileOutcome::NoText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ocr, ToolsMissing_AreToldOnceForTheWholeAdd)
{
    // Only pdftotext is to be found.
    fs::create_symlink("/usr/bin/pdftotext", m_bin / "pdftotext");
    CScopedPath onlyPdftotext(m_bin.Path());
    m_doc.OnDropFiles({BlankPdf("a.pdf"), BlankPdf("b.pdf")});

    EXPECT_EQ(m_doc.RowCount(), 2);
    EXPECT_EQ(m_prompts.FirstIds(), (Ids{EMessageId::OcrMissing, EMessageId::NoTextExtracted,
                                         EMessageId::NoTextExtracted}));
}

TEST_F(Ocr, Cancel_EndsTheReadingOfAPageAndLeavesNothingBehind)
{
    FakeOcrTools("sleep 30\n");
    CScopedVariable scratch("TMPDIR", m_dir.MakeFolder("scratch"));
    std::string activity;
    m_prompts.OnWait(
        [&](int, const CConversionMonitor& monitor)
        {
            for (int i = 0; i < 500 && activity.empty(); ++i)
            {
                CConversionProgress progress = monitor.Progress();
                if (!progress.activities.empty())
                    activity = progress.activities.front();
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    m_prompts.CancelInWait(1);
    std::string pdf = BlankPdf("slow.pdf");
    auto start = std::chrono::steady_clock::now();
    m_doc.OnDropFiles({pdf});

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(activity, "reading page 1 of 1 with OCR");
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_FALSE(fs::exists(m_dir / "slow.txt"));
    EXPECT_TRUE(fs::is_empty(m_dir / "scratch"));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(Ocr, Off_LeavesBlankFilesAsTheyAlwaysWere)
{
    FakeOcrTools("echo 'Recognized' > \"$2.txt\"\n");
    m_settings.SetInt("", CAddOptions::kReadScannedPages, 0);
    m_doc.OnDropFiles({BlankPdf("blank.pdf")});

    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::NoTextExtracted});
    EXPECT_EQ(Calls(), "");
}

// Text file names are UTF-8 on every system; on Windows a narrow path would
// name another file, or none.
TEST(OcrTextFile, IsReadUnderANonAsciiName)
{
    CTempDir dir;
    std::string path = dir.Write("\xC3\x9C"
                                 "ber/na\xC3\xAFve r\xC3\xA9sum\xC3\xA9.txt",
                                 "page\f\f");
    std::string text;
    ASSERT_TRUE(COcrReader::ReadWhole(path, text));
    EXPECT_EQ(text, "page\f\f");
    EXPECT_FALSE(COcrReader::ReadWhole(dir / "no such folder/x.txt", text));
}
