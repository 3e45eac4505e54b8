// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageScan.h"

#include <string>
#include <string_view>
#include <vector>

// Judges, page by page, whether the text pdftotext made from a PDF is what a
// reader sees on the page or garbage: what a font with no usable map to
// Unicode leaves behind. Only the text is looked at, so the judgement holds
// for every engine. A page with too little text to tell is not judged.
class CTextHealth
{
public:
    // Why a page failed: the first sign that did.
    enum class ESign
    {
        None,
        BadCharacters,   // U+FFFD, private use and control characters
        ShiftedAlphabet, // letters moved by a constant: "7KH" for "THE"
        MixedScripts,    // words that change script inside them
        RareLetters,     // letters real text seldom uses: random code points
        OddPairs,        // consonants joined as no language joins them
        BrokenWords,     // letters of both cases strewn among digits and signs
        ChaoticCase,     // capitals and small letters at random
    };

    struct CPage
    {
        bool bJudged = false;
        ESign eSign = ESign::None;
        // Whether the page fails by the stricter bar that holds where the
        // engine knows the page's text was drawn in a font with no map to
        // Unicode.
        bool bGarbledIfUnmapped = false;
        int nShift = 0; // of a shifted alphabet
        CPageScan::CCounts counts;

        bool Garbled() const { return eSign != ESign::None; }
    };

    static CPage JudgePage(std::string_view page);

    // A text's pages as pdftotext separates them: each page ends with a form
    // feed. Text after the last form feed is a last page of its own.
    static std::vector<std::string_view> SplitPages(std::string_view text);
    // The numbers (from 1) of the pages of a whole text that fail.
    static std::vector<int> GarbledPages(std::string_view text);
    // Page numbers in rising order as a reader writes them: "3, 7-9".
    static std::string PageRanges(const std::vector<int>& pages);
};
