// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "doc/AddTally.h"
#include "doc/OutcomePresenter.h"
#include "doc/OutcomeTelling.h"

#include <string>

class CConsoleOutput;
class CReportWriter;

// Presents the outcomes of the command's run: a report row for every file
// met, the counts of the summary, and, unless the run is quiet, what the
// window would tell (COutcomeTelling) on the error stream, worded as the
// window words it. Files no converter takes are in the report and the
// counts only, as a second run over the same folder meets every text file
// it made. Main thread only.
class CCommandPresenter : public COutcomePresenter
{
public:
    // `report` may be one that is not open.
    CCommandPresenter(CConsoleOutput& console, CReportWriter& report, bool quiet);

    void Present(const CFileOutcome& outcome, bool manyFiles) override;
    // The command tells on its error stream and asks nothing of a file.
    bool TellsNow(bool) const override { return false; }

    // For a watch: each file settled is one line on the error stream, for a
    // journal where no progress line can be drawn.
    void LogEachFile() { m_bLogLines = true; }
    // For a watch, once what was there is done: a text kept as it was is
    // no news of a file that arrived and gets no row.
    void PassOverKept() { m_bPassOverKept = true; }

    const CAddTally& Tally() const { return m_tally; }
    CAddTally& Tally() { return m_tally; }
    // Files settled so far.
    int Done() const { return m_nDone; }
    // Whether a PDF failed or ran out of time.
    bool AnyFailed() const { return m_bAnyFailed; }
    // The error of the first report row that could not be written; 0 when
    // every row was.
    int ReportError() const { return m_nReportError; }

private:
    CConsoleOutput& m_console;
    CReportWriter& m_report;
    const bool m_bQuiet;
    CAddTally m_tally;
    int m_nDone = 0;
    bool m_bAnyFailed = false;
    COutcomeTelling m_telling{false};
    int m_nReportError = 0;
    bool m_bLogLines = false;
    bool m_bPassOverKept = false;
};
