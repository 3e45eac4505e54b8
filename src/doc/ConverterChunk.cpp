// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConverterChunk.h"

#include "extract/Converter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace
{
// Eight bytes of `key` from `at` as one number that orders as the bytes do;
// past the end of the key count as zeros.
std::uint64_t WordAt(std::string_view key, std::size_t at)
{
    std::uint64_t word = 0;
    for (std::size_t i = at; i < at + 8; ++i)
        word = (word << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return word;
}

std::size_t CommonLength(std::string_view a, std::string_view b)
{
    std::size_t length = std::min(a.size(), b.size());
    std::size_t common = 0;
    // Paths share long folders: compare eight bytes at a time while they agree.
    for (std::uint64_t wordA = 0, wordB = 0; common + 8 <= length; common += 8)
    {
        std::memcpy(&wordA, a.data() + common, 8);
        std::memcpy(&wordB, b.data() + common, 8);
        if (wordA != wordB)
            break;
    }
    while (common < length && a[common] == b[common])
        ++common;
    return common;
}
} // namespace

CConverterChunk::CSlice CConverterChunk::SliceOf(std::string_view rest)
{
    return CSlice{WordAt(rest, 0), WordAt(rest, 8)};
}

std::size_t CConverterChunk::Bound(std::string_view foldedKey, bool upper) const
{
    if (m_order.empty())
        return 0;
    // A key outside the shared part lies before or after the whole run.
    std::string_view shared = SharedPart();
    if (foldedKey.substr(0, shared.size()) != shared)
        return foldedKey < shared ? 0 : m_order.size();
    std::string_view rest = foldedKey.substr(shared.size());
    CSlice slice = SliceOf(rest);
    // Whether the row at `offset` lies before the bound.
    auto before = [&](std::size_t offset)
    {
        if (m_slices[offset] != slice)
            return m_slices[offset] < slice;
        int order = RestAt(offset).compare(rest);
        return upper ? order <= 0 : order < 0;
    };
    std::size_t first = 0;
    std::size_t last = m_order.size();
    while (first < last)
    {
        std::size_t middle = first + (last - first) / 2;
        if (before(middle))
            first = middle + 1;
        else
            last = middle;
    }
    return first;
}

void CConverterChunk::Reserve(std::string_view foldedKey)
{
    // Only splits that kept failing for want of memory let a run grow this
    // far; refusing the row is better than slot numbers that wrap round.
    if (m_rows.size() >= std::numeric_limits<Slot>::max())
        throw std::bad_alloc();
    // The three arrays hold one entry per row, but their room may differ.
    std::size_t rows = m_rows.size();
    if (rows == m_rows.capacity() || rows == m_order.capacity() || rows == m_slices.capacity())
    {
        // A run normally splits at one past its limit, so room beyond that
        // is wasted; one that could not split grows the usual way.
        std::size_t wanted =
            rows <= kMaxRows ? std::clamp<std::size_t>(rows * 2, 8, kMaxRows + 1) : rows * 2;
        m_rows.reserve(wanted);
        m_order.reserve(wanted);
        m_slices.reserve(wanted);
    }
    m_strLastKey.reserve(std::max(m_strLastKey.capacity(), foldedKey.size()));
    if (m_order.empty())
        return;
    std::size_t shared = std::min(m_nSharedLength, CommonLength(foldedKey, SharedPart()));
    std::size_t rest = foldedKey.size() - shared;
    if (shared < m_nSharedLength)
        NarrowShared(shared, rest);
    else if (m_keys.size() + rest > m_keys.capacity())
        m_keys.reserve(std::max(m_keys.size() + rest, m_keys.capacity() * 2));
}

void CConverterChunk::Insert(std::size_t offset, std::string_view foldedKey,
                             std::unique_ptr<CConverter> converter) noexcept
{
    // A first key is the shared part in full; any later one starts with the
    // shared part, as Reserve saw to.
    if (m_order.empty())
        m_nSharedLength = foldedKey.size();
    std::string_view rest = foldedKey.substr(m_nSharedLength);
    auto slot = static_cast<Slot>(m_rows.size());
    Append(rest, std::move(converter));
    auto at = static_cast<std::ptrdiff_t>(offset);
    m_order.insert(m_order.begin() + at, slot);
    m_slices.insert(m_slices.begin() + at, SliceOf(rest));
    if (offset + 1 == m_order.size())
        m_strLastKey.assign(foldedKey);
}

// The last slot moves into the one that is freed, so the rows stay packed.
std::unique_ptr<CConverter> CConverterChunk::Take(std::size_t offset)
{
    Slot slot = m_order[offset];
    std::unique_ptr<CConverter> converter = std::move(m_rows[slot].pConverter);
    m_nDeadBytes += m_rows[slot].nKeyLength;
    m_order.erase(m_order.begin() + static_cast<std::ptrdiff_t>(offset));
    m_slices.erase(m_slices.begin() + static_cast<std::ptrdiff_t>(offset));
    auto lastSlot = static_cast<Slot>(m_rows.size() - 1);
    if (slot != lastSlot)
    {
        m_rows[slot] = std::move(m_rows.back());
        *std::find(m_order.begin(), m_order.end(), lastSlot) = slot;
    }
    m_rows.pop_back();
    if (offset == m_order.size())
        RenewLastKey();
    CompactKeys();
    return converter;
}

CConverterChunk CConverterChunk::SplitOff(std::size_t offset)
{
    std::size_t count = m_order.size();
    CConverterChunk tail;
    tail.m_rows.reserve(count - offset);
    tail.m_order.reserve(count - offset);
    tail.m_slices.reserve(count - offset);
    std::size_t tailBytes = 0;
    std::size_t longestRest = 0;
    for (std::size_t i = offset; i < count; ++i)
    {
        tailBytes += RestAt(i).size();
        longestRest = std::max(longestRest, RestAt(i).size());
    }
    tail.m_keys.reserve(tailBytes);
    tail.m_strLastKey.reserve(std::max(m_nSharedLength + longestRest, m_strLastKey.size()));
    // The rows kept are packed into slots in key order.
    std::vector<CRow> kept;
    kept.reserve(offset);
    // Nothing below allocates. The tail starts with this run's shared part.
    tail.m_nSharedLength = m_nSharedLength;
    tail.m_strLastKey.assign(m_strLastKey);
    for (std::size_t i = offset; i < count; ++i)
    {
        tail.m_order.push_back(static_cast<Slot>(i - offset));
        tail.m_slices.push_back(m_slices[i]);
        tail.Append(RestAt(i), std::move(m_rows[m_order[i]].pConverter));
    }
    for (std::size_t i = 0; i < offset; ++i)
    {
        kept.push_back(std::move(m_rows[m_order[i]]));
        m_order[i] = static_cast<Slot>(i);
    }
    m_rows.swap(kept);
    m_order.resize(offset);
    m_slices.resize(offset);
    m_nDeadBytes += tailBytes;
    RenewLastKey();
    tail.RecomputeShared();
    RecomputeShared();
    tail.CompactKeys();
    CompactKeys();
    return tail;
}

std::string_view CConverterChunk::RestOf(const CRow& row) const
{
    return {m_keys.data() + row.nKeyOffset, row.nKeyLength};
}

void CConverterChunk::Append(std::string_view rest, std::unique_ptr<CConverter> converter) noexcept
{
    auto keyOffset = static_cast<std::uint32_t>(m_keys.size());
    m_keys.insert(m_keys.end(), rest.begin(), rest.end());
    m_rows.push_back(
        CRow{keyOffset, static_cast<std::uint32_t>(rest.size()), std::move(converter)});
}

void CConverterChunk::NarrowShared(std::size_t sharedLength, std::size_t room)
{
    std::string_view given = SharedPart().substr(sharedLength);
    std::vector<char> wider;
    wider.reserve(m_keys.size() - m_nDeadBytes + m_rows.size() * given.size() + room);
    // Nothing below allocates.
    for (CRow& row : m_rows)
    {
        std::string_view rest = RestOf(row);
        auto keyOffset = static_cast<std::uint32_t>(wider.size());
        wider.insert(wider.end(), given.begin(), given.end());
        wider.insert(wider.end(), rest.begin(), rest.end());
        row.nKeyOffset = keyOffset;
        row.nKeyLength = static_cast<std::uint32_t>(given.size() + rest.size());
    }
    m_keys.swap(wider);
    m_nDeadBytes = 0;
    m_nSharedLength = sharedLength;
    RenewSlices();
}

// Every key is looked at, not only the first and last: a caller may have
// put rows out of order, and a search must then still be safe. The bytes
// that join the shared part stay in the block until it is compacted.
void CConverterChunk::RecomputeShared() noexcept
{
    if (m_order.empty())
    {
        m_nSharedLength = 0;
        return;
    }
    std::size_t more = RestAt(0).size();
    for (std::size_t i = 1; i < m_order.size() && more > 0; ++i)
        more = std::min(more, CommonLength(RestAt(0), RestAt(i)));
    if (more == 0)
        return;
    for (CRow& row : m_rows)
    {
        row.nKeyOffset += static_cast<std::uint32_t>(more);
        row.nKeyLength -= static_cast<std::uint32_t>(more);
    }
    m_nDeadBytes += more * m_rows.size();
    m_nSharedLength += more;
    RenewSlices();
}

void CConverterChunk::RenewSlices() noexcept
{
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_slices[i] = SliceOf(RestAt(i));
}

void CConverterChunk::RenewLastKey() noexcept
{
    if (m_order.empty())
    {
        m_strLastKey.clear();
        m_nSharedLength = 0;
        return;
    }
    m_strLastKey.resize(m_nSharedLength);
    m_strLastKey.append(RestAt(m_order.size() - 1));
}

void CConverterChunk::CompactKeys() noexcept
{
    if (m_nDeadBytes * 2 <= m_keys.size())
        return;
    try
    {
        std::vector<char> live;
        live.reserve(m_keys.size() - m_nDeadBytes);
        for (CRow& row : m_rows)
        {
            std::string_view rest = RestOf(row);
            row.nKeyOffset = static_cast<std::uint32_t>(live.size());
            live.insert(live.end(), rest.begin(), rest.end());
        }
        m_keys.swap(live);
        m_nDeadBytes = 0;
    }
    catch (const std::bad_alloc&)
    {
        // Nothing has moved until the new block exists; the old one stays
        // correct, only larger than it needs to be.
    }
}
