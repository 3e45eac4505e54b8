// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConverterChunk.h"
#include "ConverterHashTable.h"
#include "platform/PathRules.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CConverter;

// The listed converters, owned, in the order the caller inserts them, with
// the look-ups a list of a hundred thousand files needs: rows are kept in
// short chunks so that an insertion or removal moves little, a binary search
// over compact sort keys finds the place of a text path, and hashes answer
// "is this source path listed" and "is this converter listed" without
// walking. What a search reads lies close together, so that its cost stays
// nearly the same as the list grows out of the processor's caches.
class CConverterList
{
public:
    // `identity` decides when two source paths name the same file.
    explicit CConverterList(const CPathRules& identity);
    ~CConverterList();

    CConverterList(const CConverterList&) = delete;
    CConverterList& operator=(const CConverterList&) = delete;

    int Size() const { return m_nSize; }
    bool Empty() const { return m_nSize == 0; }
    // The converter of a row, or null outside the list.
    CConverter* At(int row) const;

    // The first row whose text path compares greater than `textPath` (upper
    // bound) or not less than it (lower bound), under the case-insensitive
    // byte order. Meaningful only while the rows are in that order.
    int UpperBound(std::string_view textPath) const;
    int LowerBound(std::string_view textPath) const;

    // Puts the converter at `row` (0 to Size()).
    void Insert(int row, std::unique_ptr<CConverter> converter);
    // Takes the converter of `row` out of the list and hands it over.
    std::unique_ptr<CConverter> Take(int row);
    void Clear();

    // A listed converter whose source path names the same file, or null.
    CConverter* FindBySourcePath(std::string_view path) const;
    // Whether this very converter is listed. Never reads the converter, so a
    // pointer to one that is gone may be asked about.
    bool Contains(const CConverter* converter) const;
    // The row of a listed converter; nothing when it is not listed.
    std::optional<int> RowOf(const CConverter* converter) const;

private:
    int Bound(std::string_view textPath, bool upper) const;
    // The chunk holding `row` and the offset within it; the row just past
    // the end belongs to the last chunk.
    std::pair<std::size_t, std::size_t> Locate(int row) const;
    std::uint64_t SourceHash(std::string_view path) const;
    void Index(CConverter* converter);
    void Unindex(CConverter* converter);
    void StartFirstChunk(std::string_view foldedKey, std::unique_ptr<CConverter>& converter);
    void SplitChunk(std::size_t chunk);
    // Moves the first row of every chunk from `chunk` on by `delta`.
    void ShiftFirstRows(std::size_t chunk, int delta);

    // Decides when two source paths name the same file.
    CPathRules m_identity;
    // The rows in short runs, so that an insertion or removal moves only a
    // few of them; a search first picks the run by its last key.
    std::vector<CConverterChunk> m_chunks;
    // The row number of each chunk's first row, apart from the chunks so
    // that renumbering after an insertion is one pass over packed numbers.
    std::vector<int> m_firstRows;
    int m_nSize = 0;
    // The folded text path being inserted or searched for; the list belongs
    // to one thread, and reusing it saves an allocation per search.
    mutable std::string m_strProbe;
    CConverterHashTable m_bySourcePath;
    CConverterHashTable m_members;
};
