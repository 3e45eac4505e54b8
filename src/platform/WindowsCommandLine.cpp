// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowsCommandLine.h"

namespace
{
bool NeedsQuotes(const std::string& argument)
{
    return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string::npos;
}
} // namespace

std::string CWindowsCommandLine::Build(const std::vector<std::string>& arguments)
{
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        if (i == 0)
        {
            AppendProgram(line, arguments[i]);
            continue;
        }
        line += ' ';
        AppendArgument(line, arguments[i]);
    }
    return line;
}

// The program's name is read up to the next quote with no escapes at all, so
// it is always quoted whole; a file name cannot hold a quote on Windows.
void CWindowsCommandLine::AppendProgram(std::string& line, const std::string& program)
{
    line += '"';
    line += program;
    line += '"';
}

// Backslashes are literal except in a run that ends at a quote: there each
// one is doubled, and the quote itself gets one more to make it literal.
// The run before the closing quote is doubled too, so it cannot escape it.
void CWindowsCommandLine::AppendArgument(std::string& line, const std::string& argument)
{
    if (!NeedsQuotes(argument))
    {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (char ch : argument)
    {
        if (ch == '\\')
        {
            ++backslashes;
            continue;
        }
        if (ch == '"')
            line.append(backslashes * 2 + 1, '\\');
        else
            line.append(backslashes, '\\');
        backslashes = 0;
        line += ch;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}
