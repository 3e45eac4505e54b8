// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CConverter;

// A short run of consecutive rows of the file list, owning their converters,
// with each row's sort key as the caller gives it: its text path with ASCII
// capitals lowered, so that plain byte order is the list's case-insensitive
// order.
//
// A search touches as little memory as it can, since at a hundred thousand
// rows little of it is in the cache: the keys lie together in one block; the
// rows themselves stay where they were added and only two packed arrays are
// kept in order, the slot of each row and its slice, the sixteen key bytes
// that follow the part every key of the run shares. A search compares
// slices and seldom reads a key, and never a converter; an insertion moves
// a few hundred bytes.
//
// The rows of a run are neighbours in the list, so their keys share most of
// their folders: the block keeps each key without that shared part, which
// is kept once, in the last key.
class CConverterChunk
{
public:
    // The list splits a run that grows past this: small enough that an
    // insertion moves little, large enough that the runs stay few.
    static constexpr std::size_t kMaxRows = 256;

    CConverterChunk() = default;
    CConverterChunk(CConverterChunk&&) noexcept = default;
    CConverterChunk& operator=(CConverterChunk&&) noexcept = default;

    std::size_t Size() const { return m_order.size(); }
    bool Empty() const { return m_order.empty(); }
    CConverter* At(std::size_t offset) const { return m_rows[m_order[offset]].pConverter.get(); }
    // The key of the last row; empty while the run is.
    std::string_view LastKey() const { return m_strLastKey; }

    // The first offset whose key is greater than `foldedKey` (upper bound)
    // or not less than it (lower bound).
    std::size_t Bound(std::string_view foldedKey, bool upper) const;

    // Makes room for one more row under `foldedKey`, so that the Insert of
    // that key which follows cannot fail. Throws std::bad_alloc when it
    // cannot; the run stays as it was for searches either way.
    void Reserve(std::string_view foldedKey);
    // Puts the converter at `offset` under `foldedKey`; Reserve must have
    // made room for this very key.
    void Insert(std::size_t offset, std::string_view foldedKey,
                std::unique_ptr<CConverter> converter) noexcept;
    std::unique_ptr<CConverter> Take(std::size_t offset);
    // Moves the rows from `offset` on into a new run. When memory runs out
    // it throws before any row has moved.
    CConverterChunk SplitOff(std::size_t offset);

private:
    struct CRow
    {
        // Where the row's key, without the shared part, lies in the block.
        std::uint32_t nKeyOffset;
        std::uint32_t nKeyLength;
        std::unique_ptr<CConverter> pConverter;
    };
    using Slot = std::uint16_t;
    // Sixteen key bytes, first byte highest, zeros past the key's end.
    struct CSlice
    {
        std::uint64_t nHigh;
        std::uint64_t nLow;
        auto operator<=>(const CSlice&) const = default;
    };
    static_assert(kMaxRows < 0xFFFF, "a slot number must fit");

    static CSlice SliceOf(std::string_view rest);
    // A row's key without the shared part.
    std::string_view RestOf(const CRow& row) const;
    std::string_view RestAt(std::size_t offset) const { return RestOf(m_rows[m_order[offset]]); }
    std::string_view SharedPart() const
    {
        return std::string_view(m_strLastKey).substr(0, m_nSharedLength);
    }
    // Stores a row's key without the shared part, and its converter, in the
    // next slot; room must have been made. The caller files the slot and
    // its slice in key order.
    void Append(std::string_view rest, std::unique_ptr<CConverter> converter) noexcept;
    // Gives the shared part up from `sharedLength` on: each key in the block
    // gets those bytes back, in a new block with room for `room` more.
    void NarrowShared(std::size_t sharedLength, std::size_t room);
    // Takes the longest part all keys share as the shared part.
    void RecomputeShared() noexcept;
    void RenewSlices() noexcept;
    // Needs no memory: the last key's room is kept at the longest key's.
    void RenewLastKey() noexcept;
    // Drops the bytes of rows that have gone, once they are most of the block.
    void CompactKeys() noexcept;

    // Rows in the order they came, holes filled from the end.
    std::vector<CRow> m_rows;
    // In key order: the slot in `m_rows` of each row, and its slice, first
    // key byte highest, zeros past the key's end.
    std::vector<Slot> m_order;
    std::vector<CSlice> m_slices;
    // Every row's key from the shared part's end on.
    std::vector<char> m_keys;
    // Bytes of `m_keys` that belong to rows no longer in the run, or that
    // became part of the shared part.
    std::size_t m_nDeadBytes = 0;
    // How many leading bytes every key of the run has in common. It need not
    // be the most they share; it only has to be shared.
    std::size_t m_nSharedLength = 0;
    // The key of the last row in full; it holds the shared part.
    std::string m_strLastKey;
};
