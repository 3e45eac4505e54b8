// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Where the program's read-only data (the tips file, the help pages) lies.
// A program run from its build folder keeps them beside the executable; an
// installed one keeps them in <prefix>/share/zelto-extractor/ while the
// executable sits in <prefix>/bin/.
class CDataFiles
{
public:
    static constexpr const char* kTipsFileName = "tips.txt";
    static constexpr const char* kHelpFileName = "help/index.html";

    // The places looked at for `name`, in order: beside the executable,
    // then the installed data folder. `programFolder` may end in a
    // separator or not; an empty one stands for the current folder.
    static std::vector<std::string> Candidates(const std::string& programFolder,
                                               const std::string& name);

    // The first candidate that is a regular file. When none is, the place
    // where the file is missing: the installed data folder when that folder
    // exists (an installed program), beside the executable otherwise.
    static std::string Find(const std::string& programFolder, const std::string& name);

    static std::string FindTipsFile(const std::string& programFolder);
    static std::string FindHelpFile(const std::string& programFolder);

    // The executable's folder ends in a separator, like the program folder
    // the rest of the program is given.
    static std::string WithTrailingSeparator(std::string folder);
};
