// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OutcomePresenter.h"
#include "OutcomeTelling.h"

class CAddReport;
class CPrompts;

// Presents the outcomes of one add operation as the window does: every
// reason about a file goes into the operation's report, and what is told
// (COutcomeTelling) is shown in a box too unless the person chose
// otherwise. In an operation that meets more than one file, the box carries
// a check box that sends the rest of the operation's messages to the report
// without a box; with problems kept for the end, they go there without a
// box from the start. A single file added alone is always told in a box.
// User's thread only.
class CMessagePresenter : public COutcomePresenter
{
public:
    CMessagePresenter(CPrompts& prompts, CAddReport& report, bool problemsAtEnd);

    void Present(const CFileOutcome& outcome, bool manyFiles) override;
    bool TellsNow(bool manyFiles) const override;

private:
    void Tell(const CReason& reason, bool manyFiles);
    void Record(const CReason& reason, bool shown);

    CPrompts& m_prompts;
    CAddReport& m_report;
    const bool m_bProblemsAtEnd;
    COutcomeTelling m_telling;
    // The person asked for the rest of the messages in the report.
    bool m_bRestInReport = false;
};
