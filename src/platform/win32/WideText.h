// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program keeps text in UTF-8; Windows takes and gives UTF-16 at every
// call that has a wide form. These convert at that border. Bytes that are
// not valid UTF-8 (or unpaired UTF-16 halves) become U+FFFD.
class CWideText
{
public:
    static std::wstring FromUtf8(const std::string& text);
    static std::string ToUtf8(const std::wstring& text);
    static std::string ToUtf8(const wchar_t* text, std::size_t length);
};
