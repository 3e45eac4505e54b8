// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Texts converted between UTF-8, in which the logic holds them, and UTF-16,
// in which the window handles them, so that a text the command reads from
// the window's files comes out as the window shows it. Malformed input is
// never refused, it is replaced:
// - in UTF-8, each byte that starts no well-formed sequence (a lone
//   continuation byte, a byte that starts none, an overlong form, a
//   surrogate, a code point past U+10FFFF) becomes U+FFFD, and the decoding
//   goes on with the byte after it; a sequence that the end of the text
//   cuts off becomes one U+FFFD for each of its bytes (a text read in pieces
//   has its own rule, below);
// - in UTF-16, a surrogate without its partner becomes '?'.
class CUtf16Text
{
public:
    // A byte order mark that starts the bytes is dropped.
    static std::u16string FromUtf8(std::string_view bytes);

    // Appends one of the pieces of a text, which continue one another: a
    // sequence cut off at the end of a piece waits in pending for the next,
    // and is dropped if none comes. A byte order mark is dropped only as the
    // first character of the text (isStarted says whether that was read); a
    // waiting sequence that the next piece does not complete becomes one
    // U+FFFD, and costs that piece its first byte.
    static void AppendPiece(std::string_view bytes, std::u16string& text, std::string& pending,
                            bool& isStarted);

    static std::string ToUtf8(std::u16string_view text);

    // A character past U+00FF becomes '?'.
    static std::string ToLatin1(std::u16string_view text);

    // The length of the UTF-8 sequence that starts the (non-empty) bytes,
    // with its code point: 0 when it is not well formed, -1 when the bytes
    // end inside it.
    static int ReadSequence(std::string_view bytes, char32_t& codePoint);

private:
    static bool IsContinuation(char byte);
    static void AppendCodePoint(char32_t codePoint, std::u16string& text);
    static void Decode(std::string_view& bytes, std::u16string& text);
};
