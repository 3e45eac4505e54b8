// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Source paths for the list benchmarks.
class CListPaths
{
public:
    // Paths shaped like a real collection: a few hundred folders of a few
    // hundred files each, names of mixed case. They are made in the order
    // they will be added, as a walk would hand them over.
    static std::vector<std::string> Make(int count);
};
