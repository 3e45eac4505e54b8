// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Utf16Text.h"

#include <gtest/gtest.h>

TEST(Utf16Text, MalformedUtf8_BecomesOneReplacementPerByte)
{
    // A lone continuation byte, an overlong form, a surrogate, a cut-off end.
    EXPECT_EQ(CUtf16Text::FromUtf8("\x80z\xC0\x80\xED\xA0\x80"
                                   "a\xE2\x82"),
              u"\xFFFDz\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"
              u"a\xFFFD\xFFFD");
    EXPECT_EQ(CUtf16Text::FromUtf8("\xEF\xBB\xBF\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
}

TEST(Utf16Text, LoneSurrogate_BecomesQuestionMark)
{
    EXPECT_EQ(CUtf16Text::ToUtf8(u"\xDE00x\xD83D\xDE00\xD83D"), "?x\xF0\x9F\x98\x80?");
    EXPECT_EQ(CUtf16Text::ToLatin1(u"\xE9\x20AC"), "\xE9?");
}

TEST(Utf16Text, SequenceSplitAcrossPieces_IsJoined)
{
    std::u16string text;
    std::string pending;
    bool isStarted = false;
    for (const char* piece : {"\xEF\xBB", "\xBF\xE2", "\x82", "\xAC\xEF\xBB\xBF", "\xE2"})
        CUtf16Text::AppendPiece(piece, text, pending, isStarted);
    EXPECT_EQ(text, u"\x20AC\xFEFF");
    EXPECT_EQ(pending, "\xE2");
    CUtf16Text::AppendPiece("zy", text, pending, isStarted);
    EXPECT_EQ(text, u"\x20AC\xFEFF\xFFFDy");
}
