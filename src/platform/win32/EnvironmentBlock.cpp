// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnvironmentBlock.h"

#include "WideText.h"

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <windows.h>

namespace
{
// The name of a variable in an entry; Windows keeps entries of its own
// whose name starts with '='.
std::wstring_view NameOf(std::wstring_view entry)
{
    return entry.substr(0, entry.find(L'=', 1));
}

int CompareNames(const std::wstring& one, const std::wstring& other)
{
    std::wstring_view first = NameOf(one);
    std::wstring_view second = NameOf(other);
    return ::CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                  static_cast<int>(second.size()), TRUE);
}
} // namespace

std::wstring CEnvironmentBlock::Make(const CChildEnvironment& settings)
{
    std::vector<std::wstring> entries;
    for (const auto& [name, value] : settings)
        entries.push_back(CWideText::FromUtf8(name) + L"=" + CWideText::FromUtf8(value));
    std::size_t settingCount = entries.size();
    wchar_t* own = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = own; entry && *entry; entry += std::wcslen(entry) + 1)
    {
        std::wstring text(entry);
        auto replaces = [&](const std::wstring& setting)
        { return CompareNames(setting, text) == CSTR_EQUAL; };
        if (std::none_of(entries.begin(), entries.begin() + settingCount, replaces))
            entries.push_back(std::move(text));
    }
    if (own)
        ::FreeEnvironmentStringsW(own);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::wstring& one, const std::wstring& other)
                     { return CompareNames(one, other) == CSTR_LESS_THAN; });
    std::wstring block;
    for (const std::wstring& entry : entries)
    {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}
