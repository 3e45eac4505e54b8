// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Judges the pages of a text as it streams past, one page held at a time:
// the text pdftotext writes, each page ended by a form feed. What it keeps
// of each page is two verdicts, so a text of any length costs the memory of
// its longest page. Any thread, one text per object.
class CPageHealthCheck
{
public:
    void Feed(std::string_view bytes);
    // Judges what followed the last form feed; call once, after the last
    // Feed.
    void Finish();

    // The pages (from 1, rising) that fail the check, given the pages whose
    // fonts the engine knows to have no map to Unicode.
    std::vector<int> GarbledPages(const std::vector<int>& unmappedFontPages) const;

private:
    void JudgePage();

    std::string m_strPage;
    int m_nPages = 0;
    std::vector<int> m_garbled;
    // Pages that fail only by the bar that holds for unmapped fonts.
    std::vector<int> m_garbledIfUnmapped;
};
