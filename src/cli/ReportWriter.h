// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fstream>
#include <string>

struct CFileOutcome;

// The report a program can read: one row for every file a run met,
// whatever became of it, written and flushed as each file is settled, so
// that a run that is killed leaves a report of everything done before.
// Comma-separated values with a header (a name ending in .csv) or one JSON
// object per line (.jsonl); UTF-8 either way. The columns: source, text,
// outcome, message (every message about the file, worded as the window
// words it, the tool's whole report included), exit_status or signal of
// the tool when it ran, and seconds.
class CReportWriter
{
public:
    enum class EFormat
    {
        Csv,
        JsonLines
    };

    static EFormat FormatOf(const std::string& path);
    static std::string Header(EFormat format);
    static std::string Row(EFormat format, const CFileOutcome& outcome);

    // Creates or empties the file and writes the header. Returns 0 or the
    // error number.
    int Open(const std::string& path);
    bool IsOpen() const { return m_file.is_open(); }
    // Returns 0 or the error number of the write that failed.
    int Write(const CFileOutcome& outcome);

private:
    int WriteText(const std::string& text);

    EFormat m_eFormat = EFormat::Csv;
    std::ofstream m_file;
};
