// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExtractOptions.h"

#include <string>
#include <vector>

// Reads the command's arguments (the program's name left out). Options take
// their value as the next argument or after '=' ("--jobs 4", "--jobs=4");
// "--" ends the options; every other argument is a path. Later options win
// over earlier ones.
class CExtractArguments
{
public:
    struct CResult
    {
        CExtractOptions options;
        // Why the arguments cannot be used, worded for the person; empty
        // when they can.
        std::string strError;
    };

    static CResult Parse(const std::vector<std::string>& arguments);
};
