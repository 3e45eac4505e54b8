// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CConverter;

// Converters filed under a 64-bit hash that the caller computes, in one flat
// open-addressed table: a look-up reads one short run of packed 32-bit tags
// and touches a converter only when its tag matches, so that asking about a
// file that is not listed stays cheap however long the list grows. A list
// files every listed file here, so a slot is kept small: the tag is 32 bits
// of the hash, and a look-up may offer `matches` a converter filed under
// another hash with the same tag, which `matches` must turn down. One
// converter may be filed under several hashes and one hash may hold several
// converters.
class CConverterHashTable
{
public:
    std::size_t Size() const { return m_nSize; }

    // Files `converter` under `hash`. Either it is filed or, when memory
    // runs out, it throws and the table is as it was.
    void Insert(std::uint64_t hash, CConverter* converter);

    // The first converter filed under `hash` that `matches` accepts, or null.
    template <class TMatches> CConverter* Find(std::uint64_t hash, TMatches matches) const
    {
        if (m_tags.empty())
            return nullptr;
        Tag tag = TagOf(hash);
        for (std::size_t slot = Home(tag); m_tags[slot] != kNoTag; slot = Next(slot))
        {
            if (m_tags[slot] == tag && matches(m_converters[slot]))
                return m_converters[slot];
        }
        return nullptr;
    }

    // Takes out this converter filed under `hash`, or under a hash with the
    // same tag; false when it was not filed under either.
    bool Erase(std::uint64_t hash, const CConverter* converter);
    void Clear();

private:
    using Tag = std::uint32_t;
    // Marks an empty slot; no hash has it as its tag.
    static constexpr Tag kNoTag = 0;

    static Tag TagOf(std::uint64_t hash);
    std::size_t Home(Tag tag) const;
    std::size_t Next(std::size_t slot) const { return slot + 1 == m_tags.size() ? 0 : slot + 1; }
    void Place(Tag tag, CConverter* converter);
    void Grow();

    // Two arrays of the same length, never more than three quarters full,
    // so that a run of occupied slots stays short and always ends at an
    // empty one. They grow by half, not double, to waste less room.
    std::vector<Tag> m_tags;
    std::vector<CConverter*> m_converters;
    std::size_t m_nSize = 0;
};
