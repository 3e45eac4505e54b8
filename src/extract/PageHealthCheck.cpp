// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageHealthCheck.h"

#include "TextHealth.h"

#include <algorithm>
#include <iterator>

void CPageHealthCheck::Feed(std::string_view bytes)
{
    while (!bytes.empty())
    {
        std::size_t end = bytes.find('\f');
        if (end == std::string_view::npos)
        {
            m_strPage.append(bytes);
            return;
        }
        m_strPage.append(bytes.substr(0, end));
        JudgePage();
        bytes.remove_prefix(end + 1);
    }
}

// pdftotext ends every page with a form feed: what follows the last one is
// a page only when there is something in it.
void CPageHealthCheck::Finish()
{
    if (m_strPage.find_first_not_of(" \t\r\n\v") != std::string::npos)
        JudgePage();
    m_strPage.clear();
}

void CPageHealthCheck::JudgePage()
{
    ++m_nPages;
    CTextHealth::CPage page = CTextHealth::JudgePage(m_strPage);
    if (page.Garbled())
        m_garbled.push_back(m_nPages);
    else if (page.bGarbledIfUnmapped)
        m_garbledIfUnmapped.push_back(m_nPages);
    m_strPage.clear();
}

std::vector<int> CPageHealthCheck::GarbledPages(const std::vector<int>& unmappedFontPages) const
{
    std::vector<int> byFonts;
    std::set_intersection(m_garbledIfUnmapped.begin(), m_garbledIfUnmapped.end(),
                          unmappedFontPages.begin(), unmappedFontPages.end(),
                          std::back_inserter(byFonts));
    std::vector<int> garbled;
    std::merge(m_garbled.begin(), m_garbled.end(), byFonts.begin(), byFonts.end(),
               std::back_inserter(garbled));
    return garbled;
}
