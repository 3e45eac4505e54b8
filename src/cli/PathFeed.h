// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The paths of a list read as it comes, one at a time, so that a list of
// any length takes no more memory than its longest path: one per line (a
// CR before the line end is dropped), or each ended by NUL for names that
// may hold line ends. Empty entries are passed over.
class CPathFeed
{
public:
    // Reads up to `size` bytes: the count, 0 at the end, or -1 with errno.
    using FRead = std::function<long(char* buffer, std::size_t size)>;

    CPathFeed(FRead read, bool nulSeparated);
    // Reads an open file.
    static FRead FromFile(std::FILE* file);

    // The next path; false at the end of the list or when reading failed.
    bool Next(std::string& path);
    // Why reading failed (errno); 0 when the list ended.
    int Error() const { return m_nError; }

private:
    bool Fill();

    FRead m_read;
    const char m_cSeparator;
    std::vector<char> m_buffer;
    std::size_t m_nPosition = 0;
    std::size_t m_nEnd = 0;
    bool m_bEnded = false;
    int m_nError = 0;
};
