// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the extraction tool wrote on its error stream, and how it is judged.
class CExtractionReport
{
public:
    explicit CExtractionReport(std::string captured);

    // Whether there is nothing to show: the cut report is empty.
    bool IsEmpty() const { return m_strCut.empty(); }

    // The report cut just before its last line feed (the last line feed and
    // whatever follows it are dropped); a report without one stays whole.
    const std::string& Cut() const { return m_strCut; }

    // Whether the report holds poppler's line for a PDF locked with a
    // password that the password given (or the empty one) does not open.
    bool RefusesPassword() const;

private:
    std::string m_strCut;
};
