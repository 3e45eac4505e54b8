// SPDX-License-Identifier: GPL-3.0-or-later
#include "WideText.h"

#include <climits>
#include <windows.h>

std::wstring CWideText::FromUtf8(const std::string& text)
{
    if (text.empty() || text.size() > INT_MAX)
        return std::wstring();
    int length = static_cast<int>(text.size());
    int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string CWideText::ToUtf8(const std::wstring& text)
{
    return ToUtf8(text.data(), text.size());
}

std::string CWideText::ToUtf8(const wchar_t* text, std::size_t length)
{
    if (length == 0 || length > INT_MAX)
        return std::string();
    int wideLength = static_cast<int>(length);
    int needed = ::WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, wideLength, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}
