// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractionReport.h"

#include <algorithm>
#include <string_view>

CExtractionReport::CExtractionReport(std::string captured) : m_strCut(std::move(captured))
{
    std::size_t lastLineFeed = m_strCut.rfind('\n');
    if (lastLineFeed != std::string::npos)
        m_strCut.resize(lastLineFeed);
}

bool CExtractionReport::RefusesPassword() const
{
    constexpr std::string_view kRefusal = "Command Line Error: Incorrect password";
    std::string_view report = m_strCut;
    for (std::size_t start = 0; start <= report.size();)
    {
        std::size_t end = std::min(report.find('\n', start), report.size());
        std::string_view line = report.substr(start, end - start);
        // pdftotext.exe ends its lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == kRefusal)
            return true;
        start = end + 1;
    }
    return false;
}
