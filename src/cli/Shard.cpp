// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shard.h"

#include <charconv>
#include <cstdint>

namespace
{
std::optional<int> Number(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// FNV-1a over the path's bytes: defined bit for bit, unlike std::hash.
std::uint64_t PathHash(std::string_view path)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : path)
    {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}
} // namespace

std::optional<CShard> CShard::Parse(std::string_view text)
{
    std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    std::optional<int> index = Number(text.substr(0, slash));
    std::optional<int> count = Number(text.substr(slash + 1));
    if (!index || !count || *count < 1 || *index < 1 || *index > *count)
        return std::nullopt;
    return CShard(*index, *count);
}

bool CShard::Takes(std::string_view path) const
{
    return PartOf(path, m_nCount) == m_nIndex;
}

int CShard::PartOf(std::string_view path, int count)
{
    return static_cast<int>(PathHash(path) % static_cast<std::uint64_t>(count)) + 1;
}
