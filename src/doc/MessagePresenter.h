// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OutcomePresenter.h"

class CAddReport;
class CMessageBox;
class CPrompts;

// Presents the outcomes of one add operation as the window does: every
// message about a file goes into the operation's report, and is shown in a
// box too unless the person chose otherwise. In an operation that meets
// more than one file, the box carries a check box that sends the rest of
// the operation's messages to the report without a box; with problems kept
// for the end, they go there without a box from the start. A single file
// added alone is always told in a box. A "No" to the overwrite question is
// recorded, not shown again. User's thread only.
class CMessagePresenter : public COutcomePresenter
{
public:
    CMessagePresenter(CPrompts& prompts, CAddReport& report, bool problemsAtEnd);

    void Present(const CFileOutcome& outcome, bool manyFiles) override;

private:
    void Tell(const CMessageBox& box, bool manyFiles);
    void Record(const CMessageBox& box, bool shown);

    CPrompts& m_prompts;
    CAddReport& m_report;
    const bool m_bProblemsAtEnd;
    // The person asked for the rest of the messages in the report.
    bool m_bRestInReport = false;
    // That OCR cannot run is told once per operation.
    bool m_bOcrMissingTold = false;
};
