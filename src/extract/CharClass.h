// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// What one character of extracted text is, as far as judging the text's
// health needs it: its kind, the script of a letter, and for Latin, Greek
// and Cyrillic letters their case (and for Latin whether they are vowels).
// Only the blocks that real text uses are told apart; the table is coarse
// on purpose and needs no Unicode database, so it gives the same answers on
// every system.
class CCharClass
{
public:
    enum class EKind : std::uint8_t
    {
        Space,
        // U+FFFD, private use, control characters, noncharacters, surrogates
        // and bytes that are no UTF-8: what a font without a usable map to
        // Unicode leaves, never what a reader sees.
        Bad,
        Letter,
        Mark, // combining marks, joiners, directional marks, modifier letters
        Digit,
        Punct, // punctuation and symbols of every kind
    };

    // Scripts of letters. A word of real text keeps to one script, save for
    // Latin mixed into Chinese, Japanese or Korean, and mathematical letters,
    // which go with any script. Letters of blocks the table does not name
    // get a script of their own per 128-character block
    // (kFirstOtherBlock + code / 128).
    enum EScript : std::uint16_t
    {
        None = 0,
        Latin,
        Greek,
        Cyrillic,
        Armenian,
        Hebrew,
        Arabic,
        Syriac,
        Thaana,
        Nko,
        Samaritan,
        Mandaic,
        Devanagari,
        Bengali,
        Gurmukhi,
        Gujarati,
        Oriya,
        Tamil,
        Telugu,
        Kannada,
        Malayalam,
        Sinhala,
        Thai,
        Lao,
        Tibetan,
        Myanmar,
        Georgian,
        Ethiopic,
        Khmer,
        Mongolian,
        Cjk, // Han, kana, bopomofo and Hangul: they share words
        Yi,
        MathLetter,
        kFirstOtherBlock = 64
    };

    struct CInfo
    {
        EKind eKind = EKind::Punct;
        std::uint16_t nScript = None;
        bool bUpper = false;
        bool bLower = false;
        bool bVowel = false; // Latin vowels, with their accented forms and y
    };

    // Decodes the character at `pos` and moves past it. A byte that starts
    // no valid UTF-8 sequence comes back as U+FFFD and moves one byte on.
    static char32_t Next(std::string_view text, std::size_t& pos);
    static CInfo Classify(char32_t code);
    // Latin letters with a Cyrillic or Greek twin of the same shape, and
    // those twins: a word that mixes them reads as one script.
    static bool HasTwin(char32_t code);
};
