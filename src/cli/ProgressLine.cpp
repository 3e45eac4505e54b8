// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressLine.h"

#include "Utf16Text.h"
#include "platform/MessageTable.h"

#include <cstdio>

namespace
{
// The code point at the start of the text and its length in bytes; a byte
// that does not start a valid sequence counts as one character.
char32_t CodePoint(std::string_view text, std::size_t& length)
{
    char32_t point = 0;
    int read = CUtf16Text::ReadSequence(text, point);
    length = read > 0 ? static_cast<std::size_t>(read) : 1;
    return read > 0 ? point : static_cast<unsigned char>(text[0]);
}

int CharacterWidth(char32_t point)
{
    bool wide = (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
                (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
                (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
                (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x20000 && point <= 0x3FFFD);
    return wide ? 2 : 1;
}
} // namespace

int CProgressLine::Width(std::string_view text)
{
    int width = 0;
    while (!text.empty())
    {
        std::size_t length = 0;
        width += CharacterWidth(CodePoint(text, length));
        text.remove_prefix(length);
    }
    return width;
}

std::string CProgressLine::FitEnd(std::string_view text, int columns)
{
    if (Width(text) <= columns)
        return std::string(text);
    static constexpr std::string_view kCut = "\xE2\x80\xA6";
    int room = columns - 1;
    while (!text.empty() && Width(text) > room)
    {
        std::size_t length = 0;
        CodePoint(text, length);
        text.remove_prefix(length);
    }
    return room > 0 ? std::string(kCut) + std::string(text) : std::string();
}

std::string CProgressLine::Duration(double seconds)
{
    long total = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

// The rate is told once a file is done; the time left once every file is
// found and one is done. The line keeps one column free, so that a terminal
// never wraps it.
std::string CProgressLine::Format(const CState& state, int columns)
{
    double rate = state.dSeconds > 0 ? state.nDone / state.dSeconds : 0.0;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, "%.1f", rate);
    std::string left = "--:--";
    if (state.bAllFound && state.nDone > 0)
        left = Duration((state.nFound - state.nDone) / rate);
    std::string line = CMessageTable::Format(
        state.bAllFound ? EMessageId::CommandProgress : EMessageId::CommandProgressFinding,
        {state.nDone, state.nFound, std::string(rateText), left});
    int room = columns - 1 - Width(line);
    if (!state.strCurrent.empty() && room > 4)
        line += "  " + FitEnd(state.strCurrent, room - 2);
    // A terminal too narrow for the counts gets their start.
    std::string_view fitted = line;
    while (!fitted.empty() && Width(fitted) > columns - 1)
        fitted.remove_suffix(1);
    return std::string(fitted);
}
