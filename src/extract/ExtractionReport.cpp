// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractionReport.h"

CExtractionReport::CExtractionReport(std::string captured) : m_strCut(std::move(captured))
{
    std::size_t lastLineFeed = m_strCut.rfind('\n');
    if (lastLineFeed != std::string::npos)
        m_strCut.resize(lastLineFeed);
}
