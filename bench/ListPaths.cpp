// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListPaths.h"

#include <algorithm>
#include <random>

std::vector<std::string> CListPaths::Make(int count)
{
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(20240601));
    std::vector<std::string> paths;
    paths.reserve(order.size());
    for (int i : order)
    {
        paths.push_back("/home/user/Documents/Archive/Folder " + std::to_string(i % 397) +
                        "/Report-" + std::to_string(i * 7919 % 1000003) +
                        (i % 3 ? ".pdf" : ".PDF"));
    }
    return paths;
}
