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
    if ((m_nSize + 1) * 2 > m_slots.size())
        Grow();
    Place(hash, converter);
    ++m_nSize;
}

// Removal shifts the rest of the run back, so no slot is ever marked dead
// and a look-up still stops at the first empty slot.
bool CConverterHashTable::Erase(std::uint64_t hash, const CConverter* converter)
{
    if (m_slots.empty() || !converter)
        return false;
    std::size_t hole = Home(hash);
    while (m_slots[hole].pConverter != converter || m_slots[hole].nHash != hash)
    {
        if (!m_slots[hole].pConverter)
            return false;
        hole = Next(hole);
    }
    for (std::size_t slot = Next(hole); m_slots[slot].pConverter; slot = Next(slot))
    {
        // An entry may fill the hole only if the hole lies on its way from
        // its home slot, or a look-up for it would stop short.
        std::size_t home = Home(m_slots[slot].nHash);
        bool holeOnItsWay =
            hole <= slot ? (home <= hole || home > slot) : (home <= hole && home > slot);
        if (holeOnItsWay)
        {
            m_slots[hole] = m_slots[slot];
            hole = slot;
        }
    }
    m_slots[hole] = CSlot{};
    --m_nSize;
    return true;
}

void CConverterHashTable::Clear()
{
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_nSize = 0;
}

std::size_t CConverterHashTable::Home(std::uint64_t hash) const
{
    // The high bits of a multiplied hash are its best mixed.
    std::uint64_t mixed = hash * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 32) & (m_slots.size() - 1);
}

void CConverterHashTable::Place(std::uint64_t hash, CConverter* converter)
{
    std::size_t slot = Home(hash);
    while (m_slots[slot].pConverter)
        slot = Next(slot);
    m_slots[slot] = CSlot{hash, converter};
}

void CConverterHashTable::Grow()
{
    std::vector<CSlot> bigger(m_slots.empty() ? kFirstCapacity : m_slots.size() * 2);
    std::swap(bigger, m_slots);
    for (const CSlot& each : bigger)
    {
        if (each.pConverter)
            Place(each.nHash, each.pConverter);
    }
}
