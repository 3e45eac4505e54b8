// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandPresenter.h"

#include "ConsoleOutput.h"
#include "ReportWriter.h"
#include "extract/FileOutcome.h"
#include "platform/MessageTable.h"

namespace
{
bool IsFailure(EFileOutcome outcome)
{
    return outcome == EFileOutcome::Failed || outcome == EFileOutcome::CouldNotOpen ||
           outcome == EFileOutcome::TimedOut;
}

bool IsKept(EFileOutcome outcome)
{
    return outcome == EFileOutcome::UpToDate || outcome == EFileOutcome::Kept;
}
} // namespace

CCommandPresenter::CCommandPresenter(CConsoleOutput& console, CReportWriter& report, bool quiet)
    : m_console(console), m_report(report), m_bQuiet(quiet)
{
}

// Counted as the window counts: each message by what it tells, and a
// listed file as converted unless its text was kept.
void CCommandPresenter::Present(const CFileOutcome& outcome, bool)
{
    ++m_nDone;
    for (const CMessageBox& box : outcome.messages)
    {
        m_tally.Count(box.Outcome());
        if (IsFailure(box.Outcome()))
            m_bAnyFailed = true;
    }
    if (outcome.bListed && !IsKept(outcome.eKind))
        m_tally.CountConverted();
    if (int error = m_report.Write(outcome); error != 0 && m_nReportError == 0)
        m_nReportError = error;
    if (!m_bQuiet)
        Tell(outcome);
}

// A "No" to the overwrite question was the question itself, seen already.
void CCommandPresenter::Tell(const CFileOutcome& outcome)
{
    if (outcome.eKind == EFileOutcome::Ignored || IsKept(outcome.eKind))
        return;
    for (const CMessageBox& box : outcome.messages)
    {
        if (box.Style() == EMessageStyle::Prompt)
            continue;
        if (outcome.bOcrMissing && &box == &outcome.messages.back() && !m_bOcrMissingTold)
        {
            m_bOcrMissingTold = true;
            m_console.Message(CMessageTable::Format(EMessageId::OcrMissing));
        }
        m_console.Message(box.Text());
    }
}
