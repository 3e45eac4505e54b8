// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextHealth.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// ---- thresholds, tuned on real material (bench/TextHealthBench.cpp) ----
// "Sound pages" below are the 12,070 pages of the 389 documents of the tuning
// corpora (TeX Live's documentation in Latin, Arabic, Chinese, Cyrillic,
// Greek and Korean scripts, and Debian's R, ReportLab and DocBook manuals)
// that have no flagged page; "garbage" is those documents with their
// fonts' ToUnicode maps removed.

// A page with fewer visible characters is not judged: a page number, a
// heading or a figure's labels say too little, and a blank page is another
// check's.
constexpr std::size_t kMinVisible = 40;

// Share of visible characters that are U+FFFD, private use or controls.
// Sound pages: under 4% in 999 of 1000, 9% at most (private-use code points
// for a few Chinese characters a font could not map); a font without a map
// yields them by the line, a quarter of the median such page.
constexpr double kMaxBad = 0.10;

// A shifted alphabet is looked for in the tokens without a small letter
// (shifting "The" by -29 gives "7KH"), when they make up some of the page (at
// least this many characters and a fifth of the page) and are letters in
// good part.
constexpr std::size_t kMinShiftChars = 60;
constexpr double kMinShiftShare = 0.2;
constexpr double kMinShiftLetters = 0.35;
// Moved back, those tokens must turn into small letters mostly, with vowels
// as words have them (a third of their letters and more) and consonants
// joined as words join them. A sound page gains nothing by a shift: its
// acronyms and numbers moved into small letters get a vowel a fifth of the
// time and join consonants at random (a third of the pairs odd); program
// names such as CJKbold or zhhei keep a shifted page of code under 15%.
constexpr double kMinShiftedSmall = 0.5;
constexpr double kMinShiftedVowels = 0.28;
constexpr double kMaxShiftedOdd = 0.15;
constexpr std::size_t kMinShiftedPairs = 25;
// A page of a few acronyms repeated (GPVAL_TERM_XMIN) can read as a handful
// of words under one of the 190 shifts tried: the shift must spell at least
// this many different words of four letters or more.
constexpr std::size_t kMinShiftedWords = 10;

// Share of words (three letters or more) whose script changes inside them.
// Sound pages: 18% at most (a font table's Greek alphabet with a Latin v in
// it); fonts mapped to random code points: 39% on the median such page.
constexpr double kMaxMixedWords = 0.2;
constexpr std::size_t kMinMixedWords = 3;

// Share of letters from blocks of rare or historic letters. Sound pages:
// 3% at most (phonetics, Romanian, pinyin keep theirs); random code points
// land there a quarter of the time (median).
// The sign is strong enough for a figure's few labels: at least this many
// rare letters among at least this many letters.
constexpr double kMaxRareLetters = 0.05;
constexpr std::size_t kMinRareLetters = 3;
constexpr std::size_t kMinRareWordLetters = 20;

// Share of pairs of ASCII letters in words that are consonants joined as no
// language and few program names join them, with at least this many kinds
// of them: an index of one odd name repeated is sound. Sound pages: under
// 13% in 99 of 100, code full of abbreviations (pgf, bmb, tkwm) 19%;
// letters that garble at random: 36% (median).
constexpr double kMaxOddPairs = 0.25;
constexpr std::size_t kMinOddPairs = 50;
constexpr std::size_t kMinOddKinds = 8;

// Share of visible characters in tokens that strew short runs of letters of
// both cases among digits and signs. Sound pages: under 10% in 999 of 1000,
// a quarter at most (a TeX listing of tree macros, \K{S}\B{dl}); fonts
// numbered in the order of first use: 58% (median).
constexpr double kMaxBrokenTokens = 0.3;

// Share of neighbouring letters that change case inside words (a capital
// that starts a word aside), on pages with enough such letters: a Persian
// page with XeLaTeX-BibTeX-XeLaTeX on it says nothing. Sound pages: camel
// case and LaTeX keep it under 22% in 999 of 1000; letters that garble at
// random change case every other letter.
constexpr double kMaxCaseChanges = 0.3;
constexpr std::size_t kMinCasedPairs = 100;

constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

// The thresholds a page is judged by.
struct CBar
{
    std::size_t nMinVisible;
    double dMaxBad;
    std::size_t nMinShiftChars;
    double dMaxMixedWords;
    std::size_t nMinMixedWords;
    double dMaxRareLetters;
    std::size_t nMinRareLetters;
    std::size_t nMinRareWordLetters;
    double dMaxOddPairs;
    std::size_t nMinOddPairs;
    std::size_t nMinOddKinds;
    double dMaxBrokenTokens;
    double dMaxCaseChanges;
    std::size_t nMinCasedPairs;
    // Share of word letters that are accented Latin ones (U+00C0 to
    // U+00FF), among at least this many word letters.
    double dMaxAccented;
    std::size_t nMinAccentedWordLetters;
};

// The text alone.
constexpr CBar kTextBar{.nMinVisible = kMinVisible,
                        .dMaxBad = kMaxBad,
                        .nMinShiftChars = kMinShiftChars,
                        .dMaxMixedWords = kMaxMixedWords,
                        .nMinMixedWords = kMinMixedWords,
                        .dMaxRareLetters = kMaxRareLetters,
                        .nMinRareLetters = kMinRareLetters,
                        .nMinRareWordLetters = kMinRareWordLetters,
                        .dMaxOddPairs = kMaxOddPairs,
                        .nMinOddPairs = kMinOddPairs,
                        .nMinOddKinds = kMinOddKinds,
                        .dMaxBrokenTokens = kMaxBrokenTokens,
                        .dMaxCaseChanges = kMaxCaseChanges,
                        .nMinCasedPairs = kMinCasedPairs,
                        .dMaxAccented = 1.0,
                        .nMinAccentedWordLetters = kNever};

// Where the engine says a good part of the page's glyphs came from fonts
// that give it no character, the text is suspect and fails on less (bench/
// TextHealthBench.cpp --worker). Of the 402 pages of the tuning corpora such
// fonts drew, 79 fail by their text alone and 135 more by this bar, every
// one of them garbage; the 188 left read as words (TeX's bitmap fonts, whose
// glyph numbers poppler takes for ASCII), some with a few odd letters.
//
// A page is judged from this many visible characters: the title or figure
// labels left over once a page's text is garbled ("$)"15&3" for "CHAPTER").
// The short pages such fonts drew in sound text are headings and digits.
constexpr std::size_t kMinVisibleUnmapped = 10;
// Share of word letters that are accented Latin ones (U+00C0 to U+00FF): the
// codes of an 8-bit Cyrillic or Arabic font read as Latin-1 ("Ïîääåðæêà").
// Sound pages: 13% at most where the fonts had no map, 29% elsewhere (a
// table of 8-bit Arabic codes); such garbage: 70% and more on most pages.
constexpr double kMaxAccentedUnmapped = 0.3;
constexpr std::size_t kMinAccentedWordLetters = 20;

constexpr CBar kUnmappedBar{.nMinVisible = kMinVisibleUnmapped,
                            .dMaxBad = kMaxBad,
                            .nMinShiftChars = kMinShiftChars,
                            .dMaxMixedWords = kMaxMixedWords,
                            .nMinMixedWords = kMinMixedWords,
                            .dMaxRareLetters = kMaxRareLetters,
                            .nMinRareLetters = kMinRareLetters,
                            .nMinRareWordLetters = kMinRareWordLetters,
                            .dMaxOddPairs = kMaxOddPairs,
                            .nMinOddPairs = kMinOddPairs,
                            .nMinOddKinds = kMinOddKinds,
                            .dMaxBrokenTokens = kMaxBrokenTokens,
                            .dMaxCaseChanges = kMaxCaseChanges,
                            .nMinCasedPairs = kMinCasedPairs,
                            .dMaxAccented = kMaxAccentedUnmapped,
                            .nMinAccentedWordLetters = kMinAccentedWordLetters};

// How often each letter turns up in text of a Latin script (per thousand,
// across English, German, French and Spanish), capitals a quarter as often.
// Only the shape matters: the model picks the shift that makes a page most
// like letters, which is then checked as words.
std::array<double, 128> AsciiLogModel()
{
    static constexpr double kLetters[26] = {75, 15, 30, 38, 110, 20, 20, 40, 68, 4,  10, 40, 26,
                                            68, 66, 20, 2,  60,  62, 80, 30, 10, 15, 4,  15, 5};
    std::array<double, 128> weight{};
    weight.fill(0.01);
    for (int i = 0; i < 26; ++i)
    {
        weight['a' + i] = kLetters[i];
        weight['A' + i] = kLetters[i] / 4;
    }
    for (char c = '0'; c <= '9'; ++c)
        weight[c] = 6;
    for (char c : std::string_view("!#$%&*+;<=>?@[\\]^_`{|}~\"'/:"))
        weight[c] = 2;
    weight['.'] = weight[','] = 30;
    weight['('] = weight[')'] = weight['-'] = 10;
    std::array<double, 128> logModel{};
    for (std::size_t i = 0; i < weight.size(); ++i)
        logModel[i] = std::log(weight[i]);
    return logModel;
}

// The shift of the page's ASCII characters that makes them most like the
// letters of text; upper case for lower case is no shift.
int BestShift(const CPageScan::CCounts& counts)
{
    static const std::array<double, 128> kModel = AsciiLogModel();
    static const double kOutside = std::log(0.0001);
    int bestShift = 0;
    double best = -HUGE_VAL;
    for (int shift = -96; shift <= 96; ++shift)
    {
        if (shift == 32 || shift == -32)
            continue;
        double score = 0;
        for (int c = 1; c < 128; ++c)
        {
            const int to = c + shift;
            const std::uint32_t count = counts.capitalTokenChars[c];
            if (count != 0)
                score += count * (to > 0x20 && to < 0x7F ? kModel[to] : kOutside);
        }
        if (score > best)
        {
            best = score;
            bestShift = shift;
        }
    }
    return bestShift;
}

bool AtLeast(std::size_t part, double share, std::size_t whole)
{
    return static_cast<double>(part) >= share * static_cast<double>(whole);
}

// The shift that turns the page's capital tokens into words, or 0.
int HiddenShift(std::string_view text, const CPageScan::CCounts& counts, const CBar& bar)
{
    if (counts.nCapitalTokenChars < bar.nMinShiftChars ||
        !AtLeast(counts.nCapitalTokenChars, kMinShiftShare, counts.nVisible) ||
        !AtLeast(counts.nCapitalTokenLetters, kMinShiftLetters, counts.nCapitalTokenChars))
        return 0;
    const int shift = BestShift(counts);
    if (shift == 0)
        return 0;
    // Capital tokens are acronyms to the pair count, so what the shift adds
    // is theirs.
    const CPageScan::CCounts shifted = CPageScan::Count(text, shift);
    const std::size_t pairs = shifted.nPairs - std::min(shifted.nPairs, counts.nPairs);
    const std::size_t odd = shifted.nOddPairs - std::min(shifted.nOddPairs, counts.nOddPairs);
    const std::size_t small =
        shifted.nLowerLetters - std::min(shifted.nLowerLetters, counts.nLowerLetters);
    const std::size_t vowels =
        shifted.nLowerVowels - std::min(shifted.nLowerVowels, counts.nLowerVowels);
    const bool words = pairs >= kMinShiftedPairs && !AtLeast(odd, kMaxShiftedOdd, pairs) &&
                       AtLeast(vowels, kMinShiftedVowels, small) &&
                       shifted.nSpelledWords >= kMinShiftedWords;
    return words && AtLeast(small, kMinShiftedSmall, counts.nCapitalTokenChars) ? shift : 0;
}

CTextHealth::ESign FirstSign(std::string_view text, const CPageScan::CCounts& c, const CBar& bar,
                             int& shift)
{
    using ESign = CTextHealth::ESign;
    if (AtLeast(c.nBad, bar.dMaxBad, c.nVisible))
        return ESign::BadCharacters;
    if ((shift = HiddenShift(text, c, bar)) != 0)
        return ESign::ShiftedAlphabet;
    if (c.nMixedWords >= bar.nMinMixedWords && AtLeast(c.nMixedWords, bar.dMaxMixedWords, c.nWords))
        return ESign::MixedScripts;
    if (c.nWordLetters >= bar.nMinRareWordLetters && c.nRareLetters >= bar.nMinRareLetters &&
        AtLeast(c.nRareLetters, bar.dMaxRareLetters, c.nWordLetters))
        return ESign::RareLetters;
    if (c.nWordLetters >= bar.nMinAccentedWordLetters &&
        AtLeast(c.nAccented, bar.dMaxAccented, c.nWordLetters))
        return ESign::RareLetters;
    if (c.nPairs >= bar.nMinOddPairs && c.nOddKinds >= bar.nMinOddKinds &&
        AtLeast(c.nOddPairs, bar.dMaxOddPairs, c.nPairs))
        return ESign::OddPairs;
    if (AtLeast(c.nBrokenTokenChars, bar.dMaxBrokenTokens, c.nVisible))
        return ESign::BrokenWords;
    if (c.nCasedPairs >= bar.nMinCasedPairs &&
        AtLeast(c.nCaseChanges, bar.dMaxCaseChanges, c.nCasedPairs))
        return ESign::ChaoticCase;
    return ESign::None;
}
} // namespace

CTextHealth::CPage CTextHealth::JudgePage(std::string_view text)
{
    CPage page;
    page.counts = CPageScan::Count(text);
    if (page.counts.nVisible >= kTextBar.nMinVisible)
    {
        page.bJudged = true;
        page.eSign = FirstSign(text, page.counts, kTextBar, page.nShift);
    }
    int unusedShift = 0;
    page.bGarbledIfUnmapped =
        page.Garbled() || (page.counts.nVisible >= kUnmappedBar.nMinVisible &&
                           FirstSign(text, page.counts, kUnmappedBar, unusedShift) != ESign::None);
    return page;
}

std::vector<std::string_view> CTextHealth::SplitPages(std::string_view text)
{
    std::vector<std::string_view> pages;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\f', start)) != std::string_view::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    if (start < text.size())
        pages.push_back(text.substr(start));
    return pages;
}

std::vector<int> CTextHealth::GarbledPages(std::string_view text)
{
    std::vector<int> garbled;
    const std::vector<std::string_view> pages = SplitPages(text);
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (JudgePage(pages[i]).Garbled())
            garbled.push_back(static_cast<int>(i + 1));
    return garbled;
}

std::string CTextHealth::PageRanges(const std::vector<int>& pages)
{
    std::string ranges;
    for (std::size_t i = 0; i < pages.size();)
    {
        std::size_t last = i;
        while (last + 1 < pages.size() && pages[last + 1] == pages[last] + 1)
            ++last;
        if (!ranges.empty())
            ranges += ", ";
        ranges += std::to_string(pages[i]);
        if (last > i)
            ranges += "-" + std::to_string(pages[last]);
        i = last + 1;
    }
    return ranges;
}
