// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One argument for a numbered message: a text or a number. Holding the kind
// lets the formatter check each placeholder against what it is given.
class CFormatArg
{
public:
    CFormatArg(const char* text) : m_bIsText(true), m_strText(text ? text : "") {}
    CFormatArg(std::string_view text) : m_bIsText(true), m_strText(text) {}
    CFormatArg(const std::string& text) : m_bIsText(true), m_strText(text) {}
    CFormatArg(int number) : m_nNumber(number) {}
    CFormatArg(long number) : m_nNumber(number) {}
    CFormatArg(long long number) : m_nNumber(number) {}
    CFormatArg(unsigned number) : m_nNumber(number) {}

    bool IsText() const { return m_bIsText; }
    const std::string& Text() const { return m_strText; }
    long long Number() const { return m_nNumber; }

private:
    bool m_bIsText = false;
    std::string m_strText;
    long long m_nNumber = 0;
};
