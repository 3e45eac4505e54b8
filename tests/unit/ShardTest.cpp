// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Shard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every machine of a split run must agree on the parts without talking:
// each path in exactly one part, whatever N, and no part left empty.
TEST(Shard, EveryPathFallsInExactlyOnePart)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 500; ++i)
        paths.push_back("/archive/" + std::to_string(i % 17) + "/scan " + std::to_string(i) +
                        ".pdf");
    for (int count : {1, 2, 3, 7, 16})
    {
        std::vector<int> perPart(static_cast<std::size_t>(count) + 1);
        for (const std::string& path : paths)
        {
            int takers = 0;
            for (int index = 1; index <= count; ++index)
            {
                if (CShard(index, count).Takes(path))
                {
                    ++takers;
                    ++perPart[static_cast<std::size_t>(index)];
                }
            }
            EXPECT_EQ(takers, 1) << path << " of " << count;
        }
        for (int index = 1; index <= count; ++index)
            EXPECT_GT(perPart[static_cast<std::size_t>(index)], 500 / count / 2) << index;
    }
}

// The split is fixed bit for bit, so that machines of different builds and
// systems agree: these values must never change.
TEST(Shard, PartsAreTheSameOnEverySystem)
{
    EXPECT_EQ(CShard::PartOf("a.pdf", 3), 2);
    EXPECT_EQ(CShard::PartOf("/archive/2019/Übersicht.pdf", 7), 1);
}

TEST(Shard, ParsesOnlyAPartOfACount)
{
    EXPECT_TRUE(CShard::Parse("1/1"));
    EXPECT_TRUE(CShard::Parse("3/8"));
    for (const char* text : {"", "3", "/3", "3/", "0/1", "2/1", "1/0", "-1/2", "1/2/3", "a/b"})
        EXPECT_FALSE(CShard::Parse(text)) << text;
}
