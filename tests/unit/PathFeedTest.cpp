// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PathFeed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
// Hands out the text a few bytes at a time, as a pipe may, then fails with
// `error` when it is not 0.
CPathFeed::FRead Chunks(std::string text, std::size_t chunk, int error = 0)
{
    auto position = std::make_shared<std::size_t>(0);
    return [=](char* buffer, std::size_t size) -> long
    {
        std::size_t count = std::min({chunk, size, text.size() - *position});
        if (count == 0 && error != 0)
        {
            errno = error;
            return -1;
        }
        std::memcpy(buffer, text.data() + *position, count);
        *position += count;
        return static_cast<long>(count);
    };
}

std::vector<std::string> All(CPathFeed& feed)
{
    std::vector<std::string> paths;
    std::string path;
    while (feed.Next(path))
        paths.push_back(path);
    return paths;
}
} // namespace

TEST(PathFeed, ReadsLinesWhateverTheirEndsAndChunks)
{
    for (std::size_t chunk : {1, 3, 1000})
    {
        CPathFeed feed(Chunks("a.pdf\r\n\nfolder/b c.pdf\n\r\nlast.pdf", chunk), false);
        EXPECT_EQ(All(feed), (std::vector<std::string>{"a.pdf", "folder/b c.pdf", "last.pdf"}))
            << chunk;
        EXPECT_EQ(feed.Error(), 0);
    }
}

TEST(PathFeed, NulSeparatedKeepsLineEndsInNames)
{
    CPathFeed feed(Chunks(std::string("two\nlines.pdf\0\0x\r.pdf\0", 21), 4), true);
    EXPECT_EQ(All(feed), (std::vector<std::string>{"two\nlines.pdf", "x\r.pdf"}));
}

TEST(PathFeed, AReadThatFailsEndsTheListWithItsError)
{
    CPathFeed feed(Chunks("a.pdf\npart", 100, EIO), false);
    EXPECT_EQ(All(feed), std::vector<std::string>{"a.pdf"});
    EXPECT_EQ(feed.Error(), EIO);
}
