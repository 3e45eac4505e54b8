// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessagePresenter.h"

#include "AddReport.h"
#include "ReasonWording.h"
#include "person/Prompts.h"

CMessagePresenter::CMessagePresenter(CPrompts& prompts, CAddReport& report, bool problemsAtEnd)
    : m_prompts(prompts), m_report(report), m_bProblemsAtEnd(problemsAtEnd)
{
}

void CMessagePresenter::Present(const CFileOutcome& outcome, bool manyFiles)
{
    m_telling.Walk(outcome,
                   [&](COutcomeTelling::EStep step, const CReason* reason)
                   {
                       switch (step)
                       {
                       case COutcomeTelling::EStep::Tell:
                           Tell(*reason, manyFiles);
                           break;
                       case COutcomeTelling::EStep::Record:
                       case COutcomeTelling::EStep::RecordAsSeen:
                           Record(*reason, step == COutcomeTelling::EStep::RecordAsSeen);
                           break;
                       case COutcomeTelling::EStep::OcrMissing:
                           m_prompts.ShowMessage(
                               CMessageBox(EMessageStyle::Information, EMessageId::OcrMissing));
                           break;
                       }
                   });
    if (COutcomeTelling::CountsAsConverted(outcome))
        m_report.CountConverted();
}

bool CMessagePresenter::TellsNow(bool manyFiles) const
{
    return !manyFiles || !(m_bProblemsAtEnd || m_bRestInReport);
}

void CMessagePresenter::Tell(const CReason& reason, bool manyFiles)
{
    if (!manyFiles)
    {
        Record(reason, true);
        m_prompts.ShowMessage(CReasonWording::Box(reason));
        return;
    }
    if (!TellsNow(manyFiles))
    {
        Record(reason, false);
        return;
    }
    Record(reason, true);
    if (m_prompts
            .ShowMessageWithCheckBox(CReasonWording::Box(reason), EMessageId::RestInReportCheck)
            .bChecked)
        m_bRestInReport = true;
}

void CMessagePresenter::Record(const CReason& reason, bool shown)
{
    m_report.Record({reason.strSubject, reason.eKind, CReasonWording::Text(reason),
                     CReasonWording::Details(reason), shown});
}
