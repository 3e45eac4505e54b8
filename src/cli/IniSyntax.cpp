// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniSyntax.h"

#include "Utf16Text.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace
{
bool IsSpace(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsLineEnd(char ch)
{
    return ch == '\n' || ch == '\r';
}

bool IsLineSpace(char ch)
{
    return ch == ' ' || ch == '\t' || IsLineEnd(ch);
}

// Past the character after a backslash; when it is a line end, past the
// whole "\r\n" or "\n\r" too.
std::size_t SkipEscaped(std::string_view data, std::size_t i)
{
    if (i >= data.size())
        return i;
    char ch = data[i++];
    if (i < data.size() && IsLineEnd(ch) && IsLineEnd(data[i]) && data[i] != ch)
        ++i;
    return i;
}

std::size_t SkipComment(std::string_view data, std::size_t i)
{
    while (i < data.size() && !IsLineEnd(data[i]))
        ++i;
    while (i < data.size() && IsLineSpace(data[i]))
        ++i;
    return i;
}

int DigitValue(char ch, int base)
{
    int value = ch >= '0' && ch <= '9'   ? ch - '0'
                : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                         : -1;
    return value < base ? value : -1;
}

// The digits of a numeric escape make one UTF-16 unit, which keeps only the
// low 16 bits of a long one.
std::size_t ReadCodeUnit(std::string_view raw, std::size_t i, int base, std::u16string& text)
{
    char16_t unit = static_cast<char16_t>(DigitValue(raw[i++], base));
    for (int digit = 0; i < raw.size() && (digit = DigitValue(raw[i], base)) >= 0; ++i)
        unit = static_cast<char16_t>(unit * base + digit);
    text += unit;
    return i;
}

// The escape after the backslash at i - 1. An unknown one stands for
// nothing; an escaped line end carries the value on to the next line.
std::size_t Unescape(std::string_view raw, std::size_t i, std::u16string& text)
{
    static constexpr std::string_view kNamed = "abfnrtv\"?'\\";
    static constexpr std::string_view kMeant = "\a\b\f\n\r\t\v\"?'\\";
    if (i >= raw.size())
        return i;
    char ch = raw[i];
    if (std::size_t at = kNamed.find(ch); at != CIniSyntax::kNone)
        text += static_cast<char16_t>(kMeant[at]);
    else if (DigitValue(ch, 8) >= 0)
        return ReadCodeUnit(raw, i, 8, text);
    else if (ch == 'x' && i + 1 < raw.size() && DigitValue(raw[i + 1], 16) >= 0)
        return ReadCodeUnit(raw, i + 1, 16, text);
    else if (IsLineEnd(ch))
        return SkipEscaped(raw, i);
    return i + 1;
}

std::size_t SkipBlanks(std::string_view raw, std::size_t i)
{
    while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
        ++i;
    return i;
}

// Blanks at the end of unquoted text go, but not those that an escape or a
// quote put there (before limit).
void ChopBlanks(std::u16string& text, std::size_t limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.pop_back();
}
} // namespace

bool CIniSyntax::ReadLine(std::string_view data, std::size_t& pos, CLine& line)
{
    std::size_t start = pos;
    while (start < data.size() && IsLineSpace(data[start]))
        ++start;
    std::size_t i = start;
    std::size_t equalsAt = kNone;
    bool inQuotes = false;
    while (i < data.size())
    {
        char ch = data[i++];
        bool ends = IsLineEnd(ch) || ch == ';';
        if (ch == '=' && !inQuotes && equalsAt == kNone)
            equalsAt = i - 1;
        else if (ch == '\\')
            i = SkipEscaped(data, i);
        else if (ch == '"')
            inQuotes = !inQuotes;
        else if (ends && i == start + 1)
            start = i = ch == ';' ? SkipComment(data, i) : i;
        else if (ends && !inQuotes)
        {
            --i;
            break;
        }
    }
    pos = i;
    line.text = data.substr(start, i - start);
    line.equalsAt = equalsAt == kNone ? kNone : equalsAt - start;
    return i > start;
}

std::u16string CIniSyntax::GroupPrefix(std::string_view header)
{
    std::string_view name = Trimmed(header.substr(1, header.find(']') - 1));
    auto isGeneral = [](std::string_view text)
    {
        return std::equal(text.begin(), text.end(), "general", "general" + 7,
                          [](char a, char b) { return (a | 0x20) == b; });
    };
    if (isGeneral(name))
        return std::u16string();
    if (name.starts_with('%') && isGeneral(name.substr(1)))
        return CUtf16Text::FromUtf8(name.substr(1)) + u'/';
    return UnescapeKey(name) + u'/';
}

std::u16string CIniSyntax::UnescapeKey(std::string_view bytes)
{
    std::u16string key = CUtf16Text::FromUtf8(Trimmed(bytes));
    std::u16string result;
    for (std::size_t i = 0; i < key.size();)
    {
        std::size_t first = i + 1 < key.size() && key[i + 1] == u'U' ? i + 2 : i + 1;
        std::size_t count = first == i + 2 ? 4 : 2;
        std::optional<long long> code;
        if (key[i] == u'%' && first + count <= key.size())
            code =
                ParseNumber(CUtf16Text::ToUtf8(std::u16string_view(key).substr(first, count)), 16);
        result += code ? static_cast<char16_t>(*code) : key[i] == u'\\' ? u'/' : key[i];
        i = code ? first + count : i + 1;
    }
    return result;
}

bool CIniSyntax::UnescapeValue(std::string_view raw, std::u16string& text,
                               std::vector<std::u16string>& items)
{
    bool inQuotes = false;
    bool isQuoted = false;
    bool isStarted = false;
    std::string pending;
    std::size_t chopLimit = 0;
    for (std::size_t i = SkipBlanks(raw, 0); i < raw.size();)
    {
        if (raw[i] == ',' && !inQuotes)
        {
            if (!isQuoted)
                ChopBlanks(text, chopLimit);
            items.push_back(std::exchange(text, std::u16string()));
            isQuoted = false;
            i = SkipBlanks(raw, i + 1);
            chopLimit = 0;
        }
        else if (raw[i] == '\\')
        {
            i = Unescape(raw, i + 1, text);
            chopLimit = text.size();
        }
        else if (raw[i] == '"')
        {
            isQuoted = true;
            inQuotes = !inQuotes;
            i = inQuotes ? i + 1 : SkipBlanks(raw, i + 1);
            chopLimit = text.size();
        }
        else
        {
            std::size_t end = std::min(raw.find_first_of("\\\",", i + 1), raw.size());
            CUtf16Text::AppendPiece(raw.substr(i, end - i), text, pending, isStarted);
            i = end;
        }
    }
    if (!isQuoted)
        ChopBlanks(text, chopLimit);
    if (!items.empty())
        items.push_back(text);
    return !items.empty();
}

std::optional<long long> CIniSyntax::ParseNumber(std::string_view text, int base)
{
    text = Trimmed(text.substr(0, text.find('\0')));
    bool isNegative = base == 10 && text.starts_with('-');
    if (isNegative || text.starts_with('+'))
        text.remove_prefix(1);
    if (base == 16 && text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X")))
        text.remove_prefix(2);
    if (text.empty())
        return std::nullopt;
    long long magnitude = 0;
    for (char ch : text)
    {
        int digit = DigitValue(ch, base);
        if (digit < 0 || magnitude > (LLONG_MAX - digit) / base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
    }
    return isNegative ? -magnitude : magnitude;
}
