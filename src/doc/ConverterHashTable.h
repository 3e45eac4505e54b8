#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CConverter;

// Converters filed under a 64-bit hash that the caller computes, in one flat
// open-addressed array: a look-up reads one short run of slots and touches a
// converter only when its hash matches, so that asking about a file that is
// not listed stays cheap however long the list grows. One converter may be
// filed under several hashes and one hash may hold several converters.
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
        if (m_slots.empty())
            return nullptr;
        for (std::size_t slot = Home(hash); m_slots[slot].pConverter; slot = Next(slot))
        {
            const CSlot& each = m_slots[slot];
            if (each.nHash == hash && matches(each.pConverter))
                return each.pConverter;
        }
        return nullptr;
    }

    // Takes out this converter filed under `hash`; false when it was not.
    bool Erase(std::uint64_t hash, const CConverter* converter);
    void Clear();

private:
    struct CSlot
    {
        std::uint64_t nHash = 0;
        CConverter* pConverter = nullptr;
    };

    std::size_t Home(std::uint64_t hash) const;
    std::size_t Next(std::size_t slot) const { return (slot + 1) & (m_slots.size() - 1); }
    void Place(std::uint64_t hash, CConverter* converter);
    void Grow();

    // A power of two in length, never more than half full, so that a run of
    // occupied slots stays short and always ends at an empty one.
    std::vector<CSlot> m_slots;
    std::size_t m_nSize = 0;
};
