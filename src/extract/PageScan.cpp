// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageScan.h"

#include "CharClass.h"

#include <bitset>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace
{
using EKind = CCharClass::EKind;

// Pairs of consonants that words of European languages, and names in program
// code, join often: those found in at least a quarter of the documents of a
// corpus of real manuals (English mostly, with German, French, Russian,
// Greek, Arabic and Chinese), the ones German, Dutch, the Nordic and the
// Slavic languages add, and those of Roman numerals, which names carry
// (\dcolxxvii). Letters that garble at random join consonants any way; y
// counts as a vowel.
class CConsonantPairs
{
public:
    CConsonantPairs()
    {
        // Each consonant, then the consonants that follow it often.
        static constexpr std::string_view kPairs =
            "b:bfjlrst c:cdhklmrstxz d:cdfgjlmnrstvz f:fjlnrst g:ghjlmnrst h:bjlmnrstvw j:k "
            "k:jklnrstvw l:bcdfghjklmnprstvxz m:blmcnprstx n:cdfghjklmnpstvz p:dfhlprst "
            "r:bcdfghjklmnprstvwz s:cfhjklmnpqstvwz t:bcfhjlmnprstvwxz v:lnrz w:chlnprswz "
            "x:clptvx z:bdglmnsvwz";
        for (std::size_t i = 0; i < kPairs.size(); ++i)
        {
            const int first = kPairs[i] - 'a';
            for (i += 2; i < kPairs.size() && kPairs[i] != ' '; ++i)
                m_bits[first] |= 1u << (kPairs[i] - 'a');
        }
    }

    bool Odd(char first, char second) const
    {
        return !IsVowel(first) && !IsVowel(second) &&
               (m_bits[first - 'a'] & (1u << (second - 'a'))) == 0;
    }

private:
    static bool IsVowel(char c)
    {
        return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
    }

    std::array<std::uint32_t, 26> m_bits{};
};

// Letters of blocks that hold a script's rare or historic letters: random
// code points land there as often as anywhere, real text almost never does
// (words of phonetic letters alone are counted with the word).
// Latin Extended-B keeps the Vietnamese, pinyin, Romanian and digraph letters
// in use; Greek keeps the letters mathematics uses.
bool IsRare(char32_t code, std::uint16_t script)
{
    if (script >= CCharClass::kFirstOtherBlock || script == CCharClass::Yi ||
        script == CCharClass::Samaritan || script == CCharClass::Mandaic ||
        script == CCharClass::Nko)
        return true;
    if (code >= 0x0180 && code <= 0x024F)
        return !(code == 0x01A0 || code == 0x01A1 || code == 0x01AF || code == 0x01B0 ||
                 (code >= 0x01C4 && code <= 0x01DC) || (code >= 0x0218 && code <= 0x021B));
    return (code >= 0x0370 && code <= 0x037D) || (code >= 0x03E2 && code <= 0x03EF) ||
           (code >= 0x1D00 && code <= 0x1DBF) || (code >= 0x2C60 && code <= 0x2C7F) ||
           (code >= 0x3400 && code <= 0x4DBF) || (code >= 0xA720 && code <= 0xA7FF) ||
           (code >= 0xF900 && code <= 0xFAFF) || code >= 0x20000;
}

// Latin words and names run into Chinese, Japanese and Korean text.
bool SharesWords(std::uint16_t a, std::uint16_t b)
{
    return (a == CCharClass::Latin && b == CCharClass::Cjk) ||
           (a == CCharClass::Cjk && b == CCharClass::Latin);
}

// Counts a page character by character, and each word as it ends.
class CScanner
{
public:
    explicit CScanner(CPageScan::CCounts& counts) : m_counts(counts) {}

    void Take(char32_t code, const CCharClass::CInfo& info)
    {
        if (info.eKind == EKind::Space)
        {
            EndWord();
            return;
        }
        ++m_counts.nVisible;
        if (info.eKind == EKind::Bad)
            ++m_counts.nBad;
        if (info.eKind == EKind::Letter)
            TakeLetter(code, info);
        else if (info.eKind != EKind::Mark)
            EndWord();
    }

    // Whether the characters taken next come from a shifted token: only
    // words of those count as spelled words.
    void SetShifted(bool shifted)
    {
        EndWord();
        m_bShifted = shifted;
    }

    void End()
    {
        EndWord();
        m_counts.nOddKinds = m_oddKinds.count();
        m_counts.nSpelledWords = m_spelled.size();
    }

private:
    void TakeLetter(char32_t code, const CCharClass::CInfo& info)
    {
        const std::size_t index = m_nLength++;
        m_counts.nRareLetters += IsRare(code, info.nScript);
        m_counts.nAccented += code >= 0xC0 && code <= 0xFF;
        m_nPhonetic += code >= 0x0250 && code <= 0x02AF;
        if (code < 0x80)
        {
            m_counts.nLowerLetters += info.bLower;
            m_counts.nLowerVowels += info.bLower && info.bVowel;
            m_strAscii += static_cast<char>(code | 0x20);
            m_nUpper += info.bUpper;
            m_nVowels += info.bVowel;
        }
        else
            m_strAscii += ' ';
        TakeCase(index, info);
        TakeScript(index, code, info.nScript);
    }

    // A capital followed by small letters is no change of case.
    void TakeCase(std::size_t index, const CCharClass::CInfo& info)
    {
        const int letterCase = info.bUpper ? 2 : info.bLower ? 1 : 0;
        if (letterCase != 0 && m_nLastCase != 0 && m_nLastCaseIndex + 1 == index)
        {
            ++m_counts.nCasedPairs;
            if (letterCase != m_nLastCase && !(m_nLastCaseIndex == 0 && letterCase == 1))
                ++m_counts.nCaseChanges;
        }
        m_nLastCase = letterCase;
        m_nLastCaseIndex = index;
    }

    // Letters with a twin in another script, and mathematical letters, go
    // with any script.
    void TakeScript(std::size_t index, char32_t code, std::uint16_t script)
    {
        if (script == CCharClass::MathLetter || CCharClass::HasTwin(code))
            return;
        if (m_nLastScript != CCharClass::None && script != m_nLastScript &&
            !SharesWords(script, m_nLastScript))
        {
            ++m_nScriptChanges;
            // Not a change right after the first letter; whether this one
            // is the last letter shows when the word ends.
            if (index > 1)
            {
                ++m_nInnerChanges;
                m_nLastInnerChange = index;
            }
        }
        m_nLastScript = script;
    }

    // A word is mixed when its script changes twice, once inside it: a
    // single change is two words run together ("Command" and the Persian
    // word after it), and a stray letter at either end is often a bracket or
    // a bullet drawn from a symbol font.
    void EndWord()
    {
        if (m_nLength == 0)
            return;
        CountPairs();
        m_counts.nWordLetters += m_nLength;
        // Transcriptions mix phonetic letters with plain ones; a word of
        // phonetic letters alone is another alphabet moved there.
        if (m_nLength >= 3 && m_nPhonetic == m_nLength)
            m_counts.nRareLetters += m_nLength;
        m_nPhonetic = 0;
        if (m_nLength >= 3)
        {
            ++m_counts.nWords;
            const int inside = m_nInnerChanges - (m_nLastInnerChange + 1 == m_nLength);
            m_counts.nMixedWords += m_nScriptChanges >= 2 && inside > 0;
        }
        m_nLength = 0;
        m_nLastCase = 0;
        m_nLastScript = CCharClass::None;
        m_nLastInnerChange = 0;
        m_nInnerChanges = 0;
        m_nScriptChanges = 0;
    }

    // Acronyms (PDF, CTAN, HTML) are not words to sound out.
    void CountPairs()
    {
        static const CConsonantPairs kPairs;
        bool odd = false;
        if (m_nUpper < 2 || m_nUpper < m_strAscii.size())
            for (std::size_t i = 1; i < m_strAscii.size(); ++i)
            {
                const char first = m_strAscii[i - 1];
                const char second = m_strAscii[i];
                if (first == ' ' || second == ' ')
                    continue;
                ++m_counts.nPairs;
                if (kPairs.Odd(first, second))
                {
                    odd = true;
                    ++m_counts.nOddPairs;
                    m_oddKinds.set(static_cast<std::size_t>((first - 'a') * 26 + second - 'a'));
                }
            }
        if (m_bShifted && !odd && m_nUpper == 0 && m_strAscii.size() >= 4 &&
            m_strAscii.find(' ') == std::string::npos && m_nVowels > 0)
            m_spelled.insert(m_strAscii);
        m_strAscii.clear();
        m_nVowels = 0;
        m_nUpper = 0;
    }

    CPageScan::CCounts& m_counts;
    std::bitset<26 * 26> m_oddKinds;
    std::size_t m_nLength = 0;
    std::size_t m_nPhonetic = 0; // letters of the IPA block
    std::string m_strAscii;      // the word's letters in small case, a space for others
    std::size_t m_nUpper = 0;
    std::size_t m_nVowels = 0;
    std::unordered_set<std::string> m_spelled;
    bool m_bShifted = false;
    int m_nLastCase = 0; // 1 small, 2 capital
    std::size_t m_nLastCaseIndex = 0;
    std::uint16_t m_nLastScript = CCharClass::None;
    int m_nScriptChanges = 0;
    int m_nInnerChanges = 0; // past the word's second letter
    std::size_t m_nLastInnerChange = 0;
};

// Feeds the scanner one token at a time, so that a token without a small
// ASCII letter can be counted apart and, asked for, shifted.
class CTokenFeed
{
public:
    CTokenFeed(CPageScan::CCounts& counts, int shift)
        : m_counts(counts), m_scanner(counts), m_nShift(shift)
    {
    }

    void Take(char32_t code)
    {
        const CCharClass::CInfo info = CCharClass::Classify(code);
        if (info.eKind == EKind::Space)
        {
            EndToken();
            m_scanner.Take(code, info);
            return;
        }
        m_bSmall = m_bSmall || (code >= 'a' && code <= 'z');
        m_bCapital = m_bCapital || (code >= 'A' && code <= 'Z');
        m_token.emplace_back(code, info);
    }

    void End()
    {
        EndToken();
        m_scanner.End();
    }

private:
    // Program text strews short names among signs too ("max(u.x,v.x)"), but
    // in one case.
    void CountBroken()
    {
        if (!m_bSmall || !m_bCapital)
            return;
        int changes = 0;
        int last = -1;
        std::size_t letters = 0;
        std::size_t runs = 0;
        for (const auto& [code, info] : m_token)
        {
            const int kind = info.eKind == EKind::Letter ? 0 : info.eKind == EKind::Digit ? 1 : 2;
            changes += last >= 0 && kind != last;
            runs += kind == 0 && last != 0;
            letters += kind == 0;
            last = kind;
        }
        if (changes >= 3 && letters < 2 * runs)
            m_counts.nBrokenTokenChars += m_token.size();
    }

    void EndToken()
    {
        CountBroken();
        const bool shift = m_nShift != 0 && !m_bSmall;
        if (shift)
            m_scanner.SetShifted(true);
        for (auto [code, info] : m_token)
        {
            if (!m_bSmall && code < 0x80)
            {
                ++m_counts.capitalTokenChars[code];
                ++m_counts.nCapitalTokenChars;
                m_counts.nCapitalTokenLetters += info.eKind == EKind::Letter;
                if (shift)
                {
                    const char32_t moved = code + static_cast<char32_t>(m_nShift);
                    code = moved > 0x20 && moved < 0x7F ? moved : 0x01;
                    info = CCharClass::Classify(code);
                }
            }
            m_scanner.Take(code, info);
        }
        if (shift)
            m_scanner.SetShifted(false);
        m_token.clear();
        m_bSmall = false;
        m_bCapital = false;
    }

    CPageScan::CCounts& m_counts;
    CScanner m_scanner;
    int m_nShift;
    std::vector<std::pair<char32_t, CCharClass::CInfo>> m_token;
    bool m_bSmall = false;
    bool m_bCapital = false;
};
} // namespace

CPageScan::CCounts CPageScan::Count(std::string_view page, int shift)
{
    CCounts counts;
    CTokenFeed feed(counts, shift);
    for (std::size_t pos = 0; pos < page.size();)
        feed.Take(CCharClass::Next(page, pos));
    feed.End();
    return counts;
}
