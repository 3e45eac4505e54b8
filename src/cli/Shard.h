// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

// The K-th of N parts of the files a run meets, for a run spread over
// several machines that share the files but do not talk: each file belongs
// to exactly one part, decided by its path alone (a hash that is the same
// on every machine and every system), so that machines given the same paths
// agree on who converts what.
class CShard
{
public:
    // "K/N" with 1 <= K <= N; nothing for anything else.
    static std::optional<CShard> Parse(std::string_view text);

    CShard(int index, int count) : m_nIndex(index), m_nCount(count) {}

    bool Takes(std::string_view path) const;
    // The part (1 to N) a path belongs to.
    static int PartOf(std::string_view path, int count);

private:
    int m_nIndex;
    int m_nCount;
};
