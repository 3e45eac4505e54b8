// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessagePresenter.h"

#include "AddReport.h"
#include "extract/FileOutcome.h"
#include "platform/Prompts.h"

CMessagePresenter::CMessagePresenter(CPrompts& prompts, CAddReport& report, bool problemsAtEnd)
    : m_prompts(prompts), m_report(report), m_bProblemsAtEnd(problemsAtEnd)
{
}

// That OCR could not run comes just before the blank text it explains, and
// is no message about the file: it is shown, never recorded. A text file
// kept by the operation's rule is only recorded, and not counted as
// converted.
void CMessagePresenter::Present(const CFileOutcome& outcome, bool manyFiles)
{
    bool kept = outcome.eKind == EFileOutcome::UpToDate || outcome.eKind == EFileOutcome::Kept;
    for (const CMessageBox& box : outcome.messages)
    {
        if (box.Style() == EMessageStyle::Prompt || kept)
        {
            Record(box, box.Style() == EMessageStyle::Prompt && outcome.bAsked);
            continue;
        }
        if (outcome.bOcrMissing && &box == &outcome.messages.back() && !m_bOcrMissingTold)
        {
            m_bOcrMissingTold = true;
            m_prompts.ShowMessage(CMessageBox(EMessageStyle::Information, EMessageId::OcrMissing));
        }
        Tell(box, manyFiles);
    }
    if (outcome.bListed && !kept)
        m_report.CountConverted();
}

void CMessagePresenter::Tell(const CMessageBox& box, bool manyFiles)
{
    if (!manyFiles)
    {
        Record(box, true);
        m_prompts.ShowMessage(box);
        return;
    }
    if (m_bProblemsAtEnd || m_bRestInReport)
    {
        Record(box, false);
        return;
    }
    Record(box, true);
    if (m_prompts.ShowMessageWithCheckBox(box, EMessageId::RestInReportCheck).bChecked)
        m_bRestInReport = true;
}

void CMessagePresenter::Record(const CMessageBox& box, bool shown)
{
    m_report.Record({box.Subject(), box.Outcome(), box.Text(), box.DetailsText(), shown});
}
