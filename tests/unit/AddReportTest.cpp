// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc/AddReport.h"
#include "FakeTool.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> RowPaths(const CAddReport& report)
{
    std::vector<std::string> paths;
    for (const CAddReportRow& row : report.Rows())
        paths.push_back(row.strPath);
    return paths;
}

// Add operations on a document with a fake pdftotext: what the person was
// shown, and the operations' reports.
struct CAddScene
{
    CAddScene()
    {
        m_settings.SetInt("", CAddOptions::kConversionsAtOnce, 1);
        m_doc.SetReportHandler([this](const CAddReport& report) { m_reports.push_back(&report); });
    }

    // Files that end in every way a file can: listed, listed with a
    // warning, listed without text, failed, and not a PDF at all. (The fake
    // tool's scripts lie beside them, so they are dropped, not walked.)
    std::vector<std::string> MixedFiles()
    {
        std::string broken = m_dir.Write("d.pdf", "%PDF");
        CFakeTool::Script(broken, "Syntax Error: broken\n", nullptr);
        CFakeTool::EndWith(broken, 1);
        std::vector<std::string> files{m_dir.Write("a.pdf", "%PDF"), m_dir.Write("b.pdf", "%PDF"),
                                       m_dir.Write("c.pdf", "%PDF"), broken,
                                       m_dir.Write("e.doc", "not a pdf")};
        CFakeTool::Script(files[0], "", std::string("Text\n"));
        CFakeTool::Script(files[1], "Syntax Warning: odd\n", std::string("Text\n"));
        CFakeTool::Script(files[2], "", std::string("\n\f"));
        return files;
    }

    const CAddReport& OnlyReport() const
    {
        EXPECT_EQ(m_reports.size(), 1u);
        return *m_reports.back();
    }

    std::vector<std::string> ShownTexts() const
    {
        std::vector<std::string> texts;
        for (const CRecordedMessage& message : m_prompts.Messages())
            texts.push_back(message.strText);
        return texts;
    }

    CTempDir m_dir;
    CFakeTool m_tool;
    CScriptedPrompts m_prompts;
    CConverterTable m_table{std::make_shared<CConverterContext>()};
    CMemorySettings m_settings;
    CZeltoDoc m_doc{m_table, m_prompts, m_prompts, m_settings};
    std::vector<const CAddReport*> m_reports;
};

// How the person chose to see the problems of one add, and how many of the
// four messages of the mixed folder then come as boxes.
struct ChoiceCase
{
    const char* name;
    bool problemsAtEnd;
    std::vector<bool> ticks;
    std::size_t boxes;
};

void PrintTo(const ChoiceCase& c, std::ostream* out)
{
    *out << c.name;
}

class AddReport : public ::testing::Test, public CAddScene
{
};

class ProblemsOfAnAdd : public AddReport, public ::testing::WithParamInterface<ChoiceCase>
{
};
} // namespace

TEST_P(ProblemsOfAnAdd, GoToBoxesOrTheReportWordForWordAndInOrder)
{
    // What the boxes say when each is shown, as the reference; then the
    // same files once more as the case has it.
    std::vector<std::string> files = MixedFiles();
    m_doc.OnDropFiles(files);
    std::vector<std::string> everyBox = ShownTexts();
    ASSERT_EQ(everyBox.size(), 4u) << ::testing::PrintToString(everyBox);
    for (const CRecordedMessage& message : m_prompts.Messages())
        EXPECT_EQ(message.checkLabel, EMessageId::RestInReportCheck);
    m_doc.OnNewDocument();
    for (const char* text : {"a.txt", "b.txt", "c.txt"})
        std::filesystem::remove(m_dir / text);
    m_prompts.Clear();
    m_reports.clear();

    const ChoiceCase& c = GetParam();
    m_settings.SetInt("", CAddOptions::kProblemsAtEnd, c.problemsAtEnd ? 1 : 0);
    for (bool tick : c.ticks)
        m_prompts.TickNext(tick);
    m_doc.OnDropFiles(files);

    EXPECT_EQ(ShownTexts(), std::vector<std::string>(everyBox.begin(), everyBox.begin() + c.boxes));
    const CAddReport& report = OnlyReport();
    std::vector<std::string> reported;
    for (std::size_t i = 0; i < report.Rows().size(); ++i)
    {
        reported.push_back(report.Rows()[i].strMessage);
        EXPECT_EQ(report.Rows()[i].bShown, i < c.boxes) << i;
    }
    EXPECT_EQ(reported, everyBox);
    EXPECT_EQ(report.HasUnseenRows(), c.boxes < everyBox.size());
    EXPECT_EQ(report.Converted(), 3);
    for (EFileOutcome outcome :
         {EFileOutcome::Warning, EFileOutcome::NoText, EFileOutcome::Failed, EFileOutcome::Ignored})
        EXPECT_EQ(report.Count(outcome), 1) << static_cast<int>(outcome);
    EXPECT_EQ(m_doc.RowCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(EveryChoice, ProblemsOfAnAdd,
                         ::testing::Values(ChoiceCase{"BoxEach", false, {}, 4},
                                           ChoiceCase{"BoxEachUnticked", false, {false, false}, 4},
                                           ChoiceCase{"TickedOnTheSecond", false, {false, true}, 2},
                                           ChoiceCase{"TickedOnTheFirst", false, {true}, 1},
                                           ChoiceCase{"AtEnd", true, {}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddReport, StandingOverwriteAnswer_IsAskedOnceAndHoldsForTheRest)
{
    for (EAnswer answer : {EAnswer::No, EAnswer::Yes})
    {
        SCOPED_TRACE(answer == EAnswer::Yes ? "Yes" : "No");
        m_doc.OnNewDocument();
        m_prompts.Clear();
        m_reports.clear();
        m_settings.SetInt("", CAddOptions::kProblemsAtEnd, 1);
        std::string folder = m_dir.MakeFolder(answer == EAnswer::Yes ? "yes" : "no");
        std::vector<std::string> pdfs;
        std::vector<std::string> texts;
        for (const char* name : {"a", "b", "c"})
        {
            pdfs.push_back(m_dir.Write(folder + "/" + name + ".pdf", "%PDF"));
            CFakeTool::Script(pdfs.back(), "", std::string("New\n"));
            texts.push_back(m_dir.Write(folder + "/" + name + ".txt", "Old\n"));
        }
        m_prompts.AnswerNext(answer);
        m_prompts.TickNext(true);
        m_doc.OnDropFiles(pdfs);

        // One overwrite question, nothing else.
        ASSERT_EQ(m_prompts.Messages().size(), 1u);
        EXPECT_EQ(m_prompts.Messages()[0].checkLabel, EMessageId::SameForRestCheck);
        const CAddReport& report = OnlyReport();
        bool kept = answer == EAnswer::No;
        EXPECT_EQ(report.Count(EFileOutcome::NotOverwritten), kept ? 3 : 0);
        EXPECT_EQ(report.Converted(), kept ? 0 : 3);
        EXPECT_EQ(report.HasUnseenRows(), kept);
        for (const std::string& text : texts)
            EXPECT_EQ(CTempDir::ReadFile(text), kept ? "Old\n" : "New\n");
    }
}

TEST_F(AddReport, SingleFileAddedAlone_IsToldInAPlainBoxEvenWithProblemsAtEnd)
{
    m_settings.SetInt("", CAddOptions::kProblemsAtEnd, 1);
    std::string pdf = m_dir.Write("alone.pdf", "%PDF");
    CFakeTool::Script(pdf, "Syntax Error: broken\n", nullptr);
    CFakeTool::EndWith(pdf, 1);
    m_doc.OnDropFiles({pdf});

    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_FALSE(m_prompts.Messages()[0].checkLabel.has_value());
    EXPECT_EQ(RowPaths(OnlyReport()), std::vector<std::string>{pdf});
    EXPECT_FALSE(OnlyReport().HasUnseenRows());
}

TEST_F(AddReport, OperationThatMetNothing_KeepsTheLastReport)
{
    std::string pdf = m_dir.Write("one.pdf", "%PDF");
    CFakeTool::Script(pdf, "", std::string("Text\n"));
    m_doc.OnDropFiles({pdf});
    std::shared_ptr<const CAddReport> last = m_doc.LastAddReport();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Converted(), 1);

    m_doc.OnFileAdd({}); // the file dialog is cancelled
    m_doc.OnDropFiles({m_dir / "missing.pdf"});
    EXPECT_EQ(m_doc.LastAddReport(), last);
}

TEST(AddReportTable, FieldsAreQuotedOrFlattenedAndCutReportsGiveTheirDetails)
{
    CAddReportRow plain{"/a/x.pdf", EFileOutcome::Failed, "Failed.", "", true};
    CAddReportRow awkward{"/a/b, \"c\".pdf", EFileOutcome::Warning, "Line 1\n\tLine 2",
                          "whole report", false};
    std::vector<const CAddReportRow*> rows{&plain, &awkward};

    EXPECT_EQ(CAddReport::Csv(rows), "File,Outcome,Message\r\n"
                                     "/a/x.pdf,Failed,Failed.\r\n"
                                     "\"/a/b, \"\"c\"\".pdf\",Warning,\"Line 1\n\tLine 2\n"
                                     "whole report\"\r\n");
    EXPECT_EQ(CAddReport::TabSeparated(rows),
              "File\tOutcome\tMessage\n"
              "/a/x.pdf\tFailed\tFailed.\n"
              "/a/b, \"c\".pdf\tWarning\tLine 1  Line 2 whole report\n");
}
