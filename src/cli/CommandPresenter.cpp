// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandPresenter.h"

#include "ConsoleOutput.h"
#include "ReportWriter.h"
#include "doc/ReasonWording.h"
#include "platform/MessageTable.h"

CCommandPresenter::CCommandPresenter(CConsoleOutput& console, CReportWriter& report, bool quiet)
    : m_console(console), m_report(report), m_bQuiet(quiet)
{
}

// Counted as the window counts: each reason by what it tells, and a file
// as converted when the window would count it so.
void CCommandPresenter::Present(const CFileOutcome& outcome, bool)
{
    const COutcomeKind& kind = COutcomeKind::Of(outcome.eKind);
    if (m_bPassOverKept && kind.bKept)
        return;
    ++m_nDone;
    for (const CReason& reason : outcome.reasons)
    {
        m_tally.Count(reason.eKind);
        if (COutcomeKind::Of(reason.eKind).bFailure)
            m_bAnyFailed = true;
    }
    if (COutcomeTelling::CountsAsConverted(outcome))
        m_tally.CountConverted();
    if (int error = m_report.Write(outcome); error != 0 && m_nReportError == 0)
        m_nReportError = error;
    if (m_bQuiet)
        return;
    if (m_bLogLines)
        m_console.Message(CMessageTable::Format(EMessageId::WatchLogLine,
                                                {kind.strToken, outcome.strSourcePath}));
    m_telling.Walk(outcome,
                   [this](COutcomeTelling::EStep step, const CReason* reason)
                   {
                       if (step == COutcomeTelling::EStep::OcrMissing)
                           m_console.Message(CMessageTable::Format(EMessageId::OcrMissing));
                       else if (step == COutcomeTelling::EStep::Tell)
                           m_console.Message(CReasonWording::Text(*reason));
                   });
}
