// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>

#include <cwchar>

#ifdef _WIN32
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>
#endif

namespace
{
struct LineCase
{
    std::string argument;
    std::string quoted;
};

const LineCase kCases[] = {
    {"-layout", "-layout"},
    {"", "\"\""},
    {"a b", "\"a b\""},
    {"tab\there", "\"tab\there\""},
    {"say \"hi\"", "\"say \\\"hi\\\"\""},
    {"C:\\docs\\a.pdf", "C:\\docs\\a.pdf"},
    {"C:\\my docs\\", "\"C:\\my docs\\\\\""},
    {"\\\\\"x", "\"\\\\\\\\\\\"x\""},
    {"end\\", "end\\"},
    {"%PATH% ^&|<>", "\"%PATH% ^&|<>\""},
};
} // namespace

// Backslashes are doubled only where a quote follows, the program's name is
// quoted whole, and nothing else is touched.
TEST(WindowsCommandLine, QuotesOnlyWhatTheSplittingRulesWouldChange)
{
    for (const LineCase& c : kCases)
    {
        EXPECT_EQ(CWindowsCommandLine::Build({"C:\\Program Files\\pdftotext.exe", c.argument}),
                  "\"C:\\Program Files\\pdftotext.exe\" " + c.quoted)
            << c.argument;
    }
}

TEST(WindowsCommandLine, CommandLineToArgvWGivesEveryArgumentBack)
{
#ifdef _WIN32
    std::vector<std::string> arguments = {"C:\\Program Files\\pdftotext.exe"};
    for (const LineCase& c : kCases)
        arguments.push_back(c.argument);
    arguments.push_back("Zoë ✓ 日本.pdf");
    std::wstring line = CWideText::FromUtf8(CWindowsCommandLine::Build(arguments));
    int count = 0;
    wchar_t** split = ::CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(split, nullptr);
    std::vector<std::string> back;
    for (int i = 0; i < count; ++i)
        back.push_back(CWideText::ToUtf8(split[i], std::wcslen(split[i])));
    ::LocalFree(split);
    EXPECT_EQ(back, arguments);
#else
    GTEST_SKIP() << "CommandLineToArgvW is a Windows call";
#endif
}
