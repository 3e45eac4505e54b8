// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConverterHashTable.h"

#include <utility>

namespace
{
constexpr std::size_t kFirstCapacity = 16;
} // namespace

void CConverterHashTable::Insert(std::uint64_t hash, CConverter* converter)
{
    if (!converter)
        return;
    if ((m_nSize + 1) * 4 > m_tags.size() * 3)
        Grow();
    Place(TagOf(hash), converter);
    ++m_nSize;
}

// Removal shifts the rest of the run back, so no slot is ever marked dead
// and a look-up still stops at the first empty slot.
bool CConverterHashTable::Erase(std::uint64_t hash, const CConverter* converter)
{
    if (m_tags.empty() || !converter)
        return false;
    Tag tag = TagOf(hash);
    std::size_t hole = Home(tag);
    while (m_converters[hole] != converter || m_tags[hole] != tag)
    {
        if (m_tags[hole] == kNoTag)
            return false;
        hole = Next(hole);
    }
    for (std::size_t slot = Next(hole); m_tags[slot] != kNoTag; slot = Next(slot))
    {
        // An entry may fill the hole only if the hole lies on its way from
        // its home slot, or a look-up for it would stop short.
        std::size_t home = Home(m_tags[slot]);
        bool holeOnItsWay =
            hole <= slot ? (home <= hole || home > slot) : (home <= hole && home > slot);
        if (holeOnItsWay)
        {
            m_tags[hole] = m_tags[slot];
            m_converters[hole] = m_converters[slot];
            hole = slot;
        }
    }
    m_tags[hole] = kNoTag;
    m_converters[hole] = nullptr;
    --m_nSize;
    return true;
}

void CConverterHashTable::Clear()
{
    m_tags.clear();
    m_tags.shrink_to_fit();
    m_converters.clear();
    m_converters.shrink_to_fit();
    m_nSize = 0;
}

// Both halves of the hash count, so that hashes that differ in either
// half seldom share a tag.
CConverterHashTable::Tag CConverterHashTable::TagOf(std::uint64_t hash)
{
    auto tag = static_cast<Tag>(hash ^ (hash >> 32));
    return tag == kNoTag ? ~kNoTag : tag;
}

std::size_t CConverterHashTable::Home(Tag tag) const
{
    // The multiplication spreads tags that differ only in their low bits;
    // its high bits, scaled to the table's length, pick the slot.
    std::uint64_t mixed = static_cast<Tag>(tag * 0x9E3779B9u);
    return static_cast<std::size_t>((mixed * m_tags.size()) >> 32);
}

void CConverterHashTable::Place(Tag tag, CConverter* converter)
{
    std::size_t slot = Home(tag);
    while (m_tags[slot] != kNoTag)
        slot = Next(slot);
    m_tags[slot] = tag;
    m_converters[slot] = converter;
}

void CConverterHashTable::Grow()
{
    std::size_t length = m_tags.empty() ? kFirstCapacity : m_tags.size() + m_tags.size() / 2;
    std::vector<Tag> tags(length, kNoTag);
    std::vector<CConverter*> converters(length, nullptr);
    tags.swap(m_tags);
    converters.swap(m_converters);
    for (std::size_t slot = 0; slot < tags.size(); ++slot)
    {
        if (tags[slot] != kNoTag)
            Place(tags[slot], converters[slot]);
    }
}
