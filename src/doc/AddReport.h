// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AddTally.h"
#include "extract/OutcomeKind.h"

#include <string>
#include <vector>

// One file's entry in an add operation's report: the message about it, word
// for word as its box shows it.
struct CAddReportRow
{
    std::string strPath;
    EFileOutcome eOutcome = EFileOutcome::None;
    std::string strMessage;
    // The whole tool report when the message shows it cut short.
    std::string strDetails;
    // Whether the message was shown in a box as well.
    bool bShown = false;

    // The message with the whole tool report after it when the message
    // shows only part of it.
    std::string FullMessage() const;
};

// What one add operation met: every message about one file, in the order
// they came, the count of files it listed, and how long it took.
class CAddReport
{
public:
    void Record(CAddReportRow row);
    // One more file was listed.
    void CountConverted() { m_tally.CountConverted(); }
    // The operation is over; its time stops.
    void Stop() { m_tally.Stop(); }

    const std::vector<CAddReportRow>& Rows() const { return m_rows; }
    int Converted() const { return m_tally.Converted(); }
    int Count(EFileOutcome outcome) const { return m_tally.Count(outcome); }
    // Whether some message was recorded without being shown.
    bool HasUnseenRows() const;
    double Seconds() const { return m_tally.Seconds(); }
    // One line for the status bar and the top of the report window.
    std::string Summary() const { return m_tally.Summary(); }

    static std::string OutcomeName(EFileOutcome outcome);
    // The rows as a table with a header row: comma-separated values with
    // quotes where a field needs them and CR LF line ends, or tab-separated
    // lines (tabs and line breaks in a field become spaces).
    static std::string Csv(const std::vector<const CAddReportRow*>& rows);
    static std::string TabSeparated(const std::vector<const CAddReportRow*>& rows);
    // One field of comma-separated values, quoted where it needs it.
    static std::string CsvField(const std::string& text);

private:
    std::vector<CAddReportRow> m_rows;
    CAddTally m_tally;
};
