#pragma once

#include "platform/MessageBox.h"

#include <array>
#include <chrono>
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
    CAddReport();

    void Record(CAddReportRow row);
    // One more file was listed.
    void CountConverted() { ++m_nConverted; }
    // The operation is over; its time stops.
    void Stop();

    const std::vector<CAddReportRow>& Rows() const { return m_rows; }
    int Converted() const { return m_nConverted; }
    int Count(EFileOutcome outcome) const;
    // Whether some message was recorded without being shown.
    bool HasUnseenRows() const;
    double Seconds() const;
    // One line for the status bar and the top of the report window.
    std::string Summary() const;

    static std::string OutcomeName(EFileOutcome outcome);
    // The rows as a table with a header row: comma-separated values with
    // quotes where a field needs them and CR LF line ends, or tab-separated
    // lines (tabs and line breaks in a field become spaces).
    static std::string Csv(const std::vector<const CAddReportRow*>& rows);
    static std::string TabSeparated(const std::vector<const CAddReportRow*>& rows);

private:
    static constexpr std::size_t kOutcomes = static_cast<std::size_t>(EFileOutcome::Converted) + 1;

    std::vector<CAddReportRow> m_rows;
    std::array<int, kOutcomes> m_counts{};
    int m_nConverted = 0;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_stop;
    bool m_bStopped = false;
};
