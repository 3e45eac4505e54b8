// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utf16Text.h"

#include <algorithm>

std::u16string CUtf16Text::FromUtf8(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    std::u16string text;
    Decode(bytes, text);
    text.append(bytes.size(), 0xFFFD);
    return text;
}

void CUtf16Text::AppendPiece(std::string_view bytes, std::u16string& text, std::string& pending,
                             bool& isStarted)
{
    if (bytes.empty())
        return;
    if (!pending.empty() || !isStarted)
    {
        std::string head = pending + std::string(bytes.substr(0, 4 - pending.size()));
        char32_t codePoint = 0;
        int length = ReadSequence(head, codePoint);
        if (length < 0)
        {
            pending = head;
            return;
        }
        if (length == 0 || isStarted || codePoint != 0xFEFF)
            AppendCodePoint(length > 0 ? codePoint : 0xFFFD, text);
        bytes.remove_prefix(length > 0 ? length - pending.size() : 1);
        pending.clear();
        isStarted = true;
    }
    Decode(bytes, text);
    pending.assign(bytes);
}

std::string CUtf16Text::ToUtf8(std::u16string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char32_t codePoint = text[i];
        bool isHigh = codePoint >= 0xD800 && codePoint <= 0xDBFF;
        if (isHigh && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            codePoint = '?';
        int extra = codePoint < 0x80 ? 0 : codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
        static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
        bytes += static_cast<char>(kLead[extra] | (codePoint >> (6 * extra)));
        for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6)
            bytes += static_cast<char>(0x80 | ((codePoint >> shift) & 0x3F));
    }
    return bytes;
}

std::string CUtf16Text::ToLatin1(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text)
        bytes += unit <= 0xFF ? static_cast<char>(unit) : '?';
    return bytes;
}

bool CUtf16Text::IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

int CUtf16Text::ReadSequence(std::string_view bytes, char32_t& codePoint)
{
    static constexpr char32_t kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    auto lead = static_cast<unsigned char>(bytes[0]);
    codePoint = lead;
    if (lead < 0x80)
        return 1;
    int length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    std::size_t available = std::min<std::size_t>(bytes.size(), length);
    for (std::size_t i = 1; i < available; ++i)
    {
        if (!IsContinuation(bytes[i]))
            return 0;
    }
    if (length == 0 || available < static_cast<std::size_t>(length))
        return length == 0 ? 0 : -1;
    codePoint = lead & kLeadBits[length];
    for (int i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    bool isSurrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint >= kSmallest[length] && codePoint <= 0x10FFFF && !isSurrogate ? length : 0;
}

void CUtf16Text::AppendCodePoint(char32_t codePoint, std::u16string& text)
{
    if (codePoint < 0x10000)
    {
        text += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

// Decodes up to a sequence that the end cuts off, which is left in the
// bytes.
void CUtf16Text::Decode(std::string_view& bytes, std::u16string& text)
{
    while (!bytes.empty())
    {
        char32_t codePoint = 0;
        int length = ReadSequence(bytes, codePoint);
        if (length < 0)
            return;
        AppendCodePoint(length > 0 ? codePoint : 0xFFFD, text);
        bytes.remove_prefix(length > 0 ? length : 1);
    }
}
