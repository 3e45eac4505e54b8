// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompts.h"
#include "cli/CommandPresenter.h"
#include "cli/CommandStreams.h"
#include "cli/ConsoleOutput.h"
#include "cli/ReportWriter.h"
#include "doc/AddReport.h"
#include "doc/MessagePresenter.h"
#include "doc/ReasonWording.h"
#include "extract/OverwriteQuestion.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
CFileOutcome Outcome(const std::string& pdf, CReason reason, bool listed = true)
{
    CFileOutcome outcome;
    outcome.strSourcePath = pdf;
    outcome.strTextPath = pdf + ".txt";
    outcome.Add(std::move(reason));
    outcome.bListed = listed;
    return outcome;
}

CFileOutcome BlankWithoutOcr(const std::string& pdf)
{
    CFileOutcome outcome =
        Outcome(pdf, CReason(EFileOutcome::NoText, pdf, EMessageId::NoTextExtracted, {pdf}));
    outcome.bOcrMissing = true;
    return outcome;
}

// A locked file, told, or skipped by the person: when asked, or by an
// earlier Skip All.
CFileOutcome Locked(const std::string& pdf, EFileOutcome kind, bool skipped, bool asked)
{
    EMessageId id = kind == EFileOutcome::NeedsPassword ? EMessageId::PdfNeedsPassword
                                                        : EMessageId::PdfWrongPassword;
    CFileOutcome outcome = Outcome(pdf, CReason(kind, pdf, id, {pdf}), false);
    outcome.bPasswordSkipped = skipped;
    outcome.bAsked = asked;
    return outcome;
}

CFileOutcome NotOverwritten(const std::string& pdf, bool asked)
{
    CFileOutcome outcome = CFileOutcome::Dropped(pdf, COverwriteQuestion::Question(pdf + ".txt"));
    outcome.bAsked = asked;
    return outcome;
}

// One add that meets every way a reason is told or only recorded.
std::vector<CFileOutcome> OneAdd()
{
    std::vector<CFileOutcome> add;
    add.push_back(
        Outcome("warned.pdf", CReason(EFileOutcome::Warning, "warned.pdf",
                                      EMessageId::ExtractionWarning, {"warned.pdf"})
                                  .Reported("Syntax Warning: bad xref\n", {"pdftotext", 0, 0})));
    add.push_back(Outcome("kept.pdf", CReason(EFileOutcome::Kept, "kept.pdf", EMessageId::TextKept,
                                              {"kept.pdf.txt"})));
    add.push_back(Outcome("fresh.pdf", CReason(EFileOutcome::UpToDate, "fresh.pdf",
                                               EMessageId::TextUpToDate, {"fresh.pdf.txt"})));
    add.push_back(NotOverwritten("asked.pdf", true));
    add.push_back(NotOverwritten("same-as-before.pdf", false));
    add.push_back(BlankWithoutOcr("scan1.pdf"));
    add.push_back(Outcome(
        "broken.pdf",
        CReason(EFileOutcome::Failed, "broken.pdf", EMessageId::ExtractionFailed, {"broken.pdf"})
            .Reported("", {"pdftotext", 0, 11}),
        false));
    add.push_back(BlankWithoutOcr("scan2.pdf"));
    add.push_back(
        Outcome("notes.doc",
                CReason(EFileOutcome::Ignored, "notes.doc", EMessageId::FileIgnored, {"notes.doc"}),
                false));
    add.push_back(Outcome(
        "slow.pdf",
        CReason(EFileOutcome::TimedOut, "slow.pdf", EMessageId::TimedOut, {"slow.pdf", 5}), false));
    add.push_back(Locked("locked.pdf", EFileOutcome::NeedsPassword, false, false));
    add.push_back(Locked("skipped.pdf", EFileOutcome::WrongPassword, true, true));
    add.push_back(Locked("skipped-all.pdf", EFileOutcome::NeedsPassword, true, false));
    CFileOutcome plain;
    plain.strSourcePath = "plain.pdf";
    add.push_back(plain);
    add.push_back(Outcome("garbled.pdf", CReason(EFileOutcome::Garbled, "garbled.pdf",
                                                 EMessageId::GarbledText, {"garbled.pdf", "2-3"})));
    return add;
}
} // namespace

// The window and the command present one add alike: the command writes on
// its error stream exactly the texts the window shows in boxes, in the same
// order (files no converter takes aside: the command only records them),
// and both count every kind and every converted file the same.
TEST(OutcomeTelling, WindowAndCommandTellAndCountTheSame)
{
    CScriptedPrompts prompts;
    CAddReport windowReport;
    CMessagePresenter window(prompts, windowReport, false);
    std::vector<std::string> commandTold;
    CCommandStreams streams;
    streams.writeError = [&](std::string_view text) { commandTold.emplace_back(text); };
    CConsoleOutput console(streams, false);
    CReportWriter notOpen;
    CCommandPresenter command(console, notOpen, false);

    for (const CFileOutcome& outcome : OneAdd())
    {
        window.Present(outcome, true);
        command.Present(outcome, true);
    }

    std::vector<std::string> windowTold;
    for (const CRecordedMessage& box : prompts.Messages())
    {
        if (box.ids.front() != EMessageId::FileIgnored)
            windowTold.push_back(box.strText + "\n");
    }
    EXPECT_EQ(commandTold, windowTold);
    ASSERT_EQ(windowTold.size(), 8u)
        << "warned, the OCR box once, scan1, broken, scan2, slow, locked, garbled";
    EXPECT_EQ(prompts.Messages().front().ids.front(), EMessageId::ExtractionWarning);
    EXPECT_EQ(prompts.Messages()[1].ids.front(), EMessageId::OcrMissing);

    const CAddTally& tally = std::as_const(command).Tally();
    for (int kind = 0; kind <= static_cast<int>(EFileOutcome::Converted); ++kind)
    {
        auto eKind = static_cast<EFileOutcome>(kind);
        EXPECT_EQ(tally.Count(eKind), windowReport.Count(eKind)) << kind;
    }
    EXPECT_EQ(tally.Converted(), windowReport.Converted());
    EXPECT_EQ(windowReport.Converted(), 5) << "kept texts do not count";
    EXPECT_TRUE(command.AnyFailed());
}

// Every reason reaches the window's report once; those the person never
// saw in a box are marked unseen, so the report offers itself at the end.
TEST(OutcomeTelling, WindowRecordsEveryReasonAndWhetherItWasSeen)
{
    CScriptedPrompts prompts;
    CAddReport report;
    CMessagePresenter window(prompts, report, false);
    std::size_t reasons = 0;
    for (const CFileOutcome& outcome : OneAdd())
    {
        reasons += outcome.reasons.size();
        window.Present(outcome, true);
    }

    ASSERT_EQ(report.Rows().size(), reasons);
    std::vector<std::pair<std::string, bool>> seen;
    for (const CAddReportRow& row : report.Rows())
        seen.emplace_back(row.strPath, row.bShown);
    std::vector<std::pair<std::string, bool>> expected{{"warned.pdf", true},
                                                       {"kept.pdf", false},
                                                       {"fresh.pdf", false},
                                                       {"asked.pdf.txt", true},
                                                       {"same-as-before.pdf.txt", false},
                                                       {"scan1.pdf", true},
                                                       {"broken.pdf", true},
                                                       {"scan2.pdf", true},
                                                       {"notes.doc", true},
                                                       {"slow.pdf", true},
                                                       {"locked.pdf", true},
                                                       {"skipped.pdf", true},
                                                       {"skipped-all.pdf", false},
                                                       {"garbled.pdf", true}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(report.Rows()[6].strMessage, CReasonWording::Text(OneAdd()[6].reasons.front()))
        << "a tool that ended by a signal is told how it ended";
}

// With problems kept for the end, or once the person ticks "the rest in the
// report", nothing more is shown in a box, and OCR's absence is still told
// once only.
TEST(OutcomeTelling, RestInReportStopsTheBoxesButNotTheRecord)
{
    for (bool problemsAtEnd : {true, false})
    {
        SCOPED_TRACE(problemsAtEnd);
        CScriptedPrompts prompts;
        prompts.TickNext(true);
        CAddReport report;
        CMessagePresenter window(prompts, report, problemsAtEnd);
        for (const CFileOutcome& outcome : OneAdd())
            window.Present(outcome, true);

        std::vector<EMessageId> shown = prompts.FirstIds();
        std::vector<EMessageId> expected{EMessageId::OcrMissing};
        if (!problemsAtEnd)
            expected.insert(expected.begin(), EMessageId::ExtractionWarning);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(report.Rows().size(), 14u);
        EXPECT_TRUE(report.HasUnseenRows());
    }
}
