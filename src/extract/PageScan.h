// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Counts, in one pass over a page's text, what the text health check judges
// by: characters that no font with a map to Unicode yields, the scripts and
// cases of the letters in each word, and the pairs of consonants words join.
// A word is a run of letters (with their combining marks); a token is a run
// of characters between white space.
class CPageScan
{
public:
    struct CCounts
    {
        std::size_t nVisible = 0; // characters that are not white space
        std::size_t nBad = 0;     // U+FFFD, private use, controls, no UTF-8

        std::size_t nWords = 0;        // of three letters or more
        std::size_t nMixedWords = 0;   // whose script changes inside them
        std::size_t nWordLetters = 0;  // letters of all words
        std::size_t nRareLetters = 0;  // of blocks that real text seldom uses
        std::size_t nAccented = 0;     // letters of U+00C0 to U+00FF
        std::size_t nCasedPairs = 0;   // neighbours in words that both have a case
        std::size_t nCaseChanges = 0;  // of them, past a word's capital
        std::size_t nPairs = 0;        // ASCII letter pairs in words, acronyms aside
        std::size_t nOddPairs = 0;     // consonant pairs that languages seldom join
        std::size_t nOddKinds = 0;     // different such pairs
        std::size_t nLowerLetters = 0; // small ASCII letters
        std::size_t nLowerVowels = 0;  // of them vowels (y as well)
        // With a shift: the different words of four small letters or more,
        // with a vowel and no odd pair, that the shifted tokens spell.
        std::size_t nSpelledWords = 0;

        // Characters of tokens that strew short runs of letters of both
        // cases among digits and signs ("$B#B#H2p2`b2&1tQ/mb"), as fonts
        // numbered in the order of first use spell words.
        std::size_t nBrokenTokenChars = 0;

        // Characters below U+0080 in tokens without a small ASCII letter:
        // where an alphabet shifted down by a font's glyph order shows
        // ("7KH" for "The"), among the sound words of other fonts.
        std::size_t nCapitalTokenChars = 0;
        std::size_t nCapitalTokenLetters = 0;
        std::array<std::uint32_t, 128> capitalTokenChars{};
    };

    // With a shift, the ASCII characters of tokens without a small letter
    // are moved by it first (what lands outside ASCII's visible range counts
    // as a control), so that a shifted alphabet counts as the text it hides.
    static CCounts Count(std::string_view page, int shift = 0);
};
