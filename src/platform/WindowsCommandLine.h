// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// A Windows program gets one command line, not an argument vector; the C
// runtime and CommandLineToArgvW split it again by fixed rules. This builds
// the line those rules split back into exactly the given arguments, so no
// shell and no hand-made quoting ever stand between an argument and the
// program. Built on every system so that the rules are tested anywhere.
class CWindowsCommandLine
{
public:
    // The first argument is the program; the rest follow it in order.
    static std::string Build(const std::vector<std::string>& arguments);

private:
    static void AppendProgram(std::string& line, const std::string& program);
    static void AppendArgument(std::string& line, const std::string& argument);
};
