// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniSettings.h"

#include "IniSyntax.h"
#include "Utf16Text.h"

#include "platform/FileCloser.h"
#include "platform/FileProbe.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace
{
// A number past the range of int keeps its low 32 bits; a text that is no
// number stands for 0.
int NumberOf(std::string_view text)
{
    return static_cast<int>(CIniSyntax::ParseNumber(text, 10).value_or(0));
}

// The number of arguments of a "@Rect(x y w h)"-like value.
std::size_t ArgumentCount(std::u16string_view text)
{
    std::u16string_view arguments = text.substr(text.find(u'(') + 1);
    return static_cast<std::size_t>(std::count(arguments.begin(), arguments.end(), u' ') +
                                    std::count(arguments.begin(), arguments.end(), u')'));
}

std::string FoldCase(std::string key)
{
#ifdef _WIN32
    // The window matches names regardless of the case of their letters on
    // Windows; letters past ASCII keep their case here.
    for (char& ch : key)
    {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
#endif
    return key;
}
} // namespace

std::optional<CIniSettings> CIniSettings::Load(const std::string& path, int& error)
{
    CFilePointer file(CFileProbe::OpenForReading(path));
    if (!file)
    {
        error = errno;
        return std::nullopt;
    }
    std::string text;
    char buffer[16384];
    errno = 0;
    while (std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get()))
        text.append(buffer, count);
    if (std::ferror(file.get()))
    {
        error = errno != 0 ? errno : EIO;
        return std::nullopt;
    }
    error = 0;
    return CIniSettings(text);
}

// A byte order mark does not hide a group header after it; an entry's name
// keeps the blanks between the mark and the name. Groups are read in the
// order of their names, the entries of a group in the order of the file:
// of two entries that make the same key, the later one of the later group
// wins, as in the window.
CIniSettings::CIniSettings(std::string_view fileText)
{
    std::map<std::u16string, std::vector<CIniSyntax::CLine>> groups;
    std::u16string prefix;
    std::size_t pos = 0;
    CIniSyntax::CLine line;
    std::size_t afterMark = fileText.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    if (afterMark > 0 && CIniSyntax::ReadLine(fileText, afterMark, line) &&
        line.text.starts_with('['))
    {
        prefix = CIniSyntax::GroupPrefix(line.text);
        pos = afterMark;
    }
    while (CIniSyntax::ReadLine(fileText, pos, line))
    {
        if (line.text.front() == '[')
            prefix = CIniSyntax::GroupPrefix(line.text);
        else if (line.equalsAt != CIniSyntax::kNone)
            groups[prefix].push_back(line);
    }
    for (const auto& [groupPrefix, entries] : groups)
    {
        for (const CIniSyntax::CLine& entry : entries)
            ReadEntry(groupPrefix, entry.text, entry.equalsAt);
    }
}

// A key that comes again replaces the value read before.
void CIniSettings::ReadEntry(const std::u16string& groupPrefix, std::string_view line,
                             std::size_t equalsAt)
{
    std::string key =
        CUtf16Text::ToUtf8(groupPrefix + CIniSyntax::UnescapeKey(line.substr(0, equalsAt)));
    m_mapValues[FoldCase(key)] = ValueOf(line.substr(equalsAt + 1));
}

CIniSettings::CValue CIniSettings::ValueOf(std::string_view rawValue)
{
    std::u16string text;
    std::vector<std::u16string> items;
    return CIniSyntax::UnescapeValue(rawValue, text, items) ? ListValue(items) : TextValue(text);
}

// "@@" starts a text that starts with '@'.
CIniSettings::CValue CIniSettings::TextValue(const std::u16string& text)
{
    if (std::optional<CValue> tagged = TaggedValue(text))
        return *tagged;
    std::string bytes =
        CUtf16Text::ToUtf8(std::u16string_view(text).substr(text.starts_with(u"@@") ? 1 : 0));
    int number = NumberOf(bytes);
    return CValue{std::move(bytes), number};
}

// A value of another type than text, in the form "@Type(...)". Bytes and
// texts with a NUL are read as text; values of other types have no text
// the window can show.
std::optional<CIniSettings::CValue> CIniSettings::TaggedValue(const std::u16string& text)
{
    std::u16string_view view = text;
    if (!view.starts_with(u'@') || !view.ends_with(u')'))
        return std::nullopt;
    if (view.starts_with(u"@ByteArray(") || view.starts_with(u"@String("))
    {
        std::size_t open = view.find(u'(') + 1;
        std::string bytes = view[1] == u'B'
                                ? CUtf16Text::ToLatin1(view.substr(open, view.size() - open - 1))
                                : CUtf16Text::ToUtf8(view.substr(open, view.size() - open - 1));
        std::string shown = CUtf16Text::ToUtf8(CUtf16Text::FromUtf8(bytes));
        return CValue{shown, NumberOf(bytes)};
    }
    bool isOther = view.starts_with(u"@Variant(") || view.starts_with(u"@DateTime(") ||
                   (view.starts_with(u"@Rect(") && ArgumentCount(view) == 4) ||
                   (view.starts_with(u"@Size(") && ArgumentCount(view) == 2) ||
                   (view.starts_with(u"@Point(") && ArgumentCount(view) == 2) ||
                   view == u"@Invalid()";
    return isOther ? std::optional<CValue>(CValue()) : std::nullopt;
}

// A list of texts reads back joined with ','; a list that holds a value of
// another type has no text.
CIniSettings::CValue CIniSettings::ListValue(const std::vector<std::u16string>& items)
{
    std::u16string joined;
    for (const std::u16string& item : items)
    {
        if (item.starts_with(u'@') && !item.starts_with(u"@@"))
            return CValue();
        joined += (&item == &items.front() ? u"" : u",") + item.substr(item.starts_with(u'@'));
    }
    return CValue{CUtf16Text::ToUtf8(joined), 0};
}

// As the window names a value: the section and the name joined by '/', no
// '/' doubled, first or last. An empty section and name name no value.
std::optional<std::string> CIniSettings::Key(const std::string& section, const std::string& name)
{
    if (section.empty() && name.empty())
        return std::nullopt;
    std::string joined =
        CUtf16Text::ToUtf8(CUtf16Text::FromUtf8(section.empty() ? name : section + '/' + name));
    std::string key;
    for (char ch : joined)
    {
        if (ch != '/' || (!key.empty() && key.back() != '/'))
            key += ch;
    }
    if (key.ends_with('/'))
        key.pop_back();
    return FoldCase(std::move(key));
}

const CIniSettings::CValue* CIniSettings::Find(const std::string& section,
                                               const std::string& name) const
{
    std::optional<std::string> key = Key(section, name);
    auto found = key ? m_mapValues.find(*key) : m_mapValues.end();
    return found == m_mapValues.end() ? nullptr : &found->second;
}

std::string CIniSettings::GetString(const std::string& section, const std::string& name) const
{
    const CValue* value = Find(section, name);
    return value ? value->strText : std::string();
}

void CIniSettings::SetString(const std::string& section, const std::string& name,
                             const std::string& value)
{
    std::string text = CUtf16Text::ToUtf8(CUtf16Text::FromUtf8(value));
    int number = NumberOf(text);
    if (std::optional<std::string> key = Key(section, name))
        m_mapValues[*key] = CValue{std::move(text), number};
}

int CIniSettings::GetInt(const std::string& section, const std::string& name) const
{
    const CValue* value = Find(section, name);
    return value ? value->nNumber : 0;
}

void CIniSettings::SetInt(const std::string& section, const std::string& name, int value)
{
    if (std::optional<std::string> key = Key(section, name))
        m_mapValues[*key] = CValue{std::to_string(value), value};
}
