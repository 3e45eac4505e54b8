// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConverterList.h"

#include "extract/Converter.h"
#include "platform/PathRules.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Lower-cases the ASCII capitals among eight bytes at once; other bytes,
// UTF-8 sequences included, are left as they are.
std::uint64_t FoldWord(std::uint64_t word)
{
    std::uint64_t low7 = word & ~kHighBits;
    std::uint64_t atLeastA = low7 + kEveryByte * (0x80 - 'A');
    std::uint64_t pastZ = low7 + kEveryByte * (0x80 - 'Z' - 1);
    std::uint64_t capitals = (atLeastA ^ pastZ) & ~word & kHighBits;
    return word | (capitals >> 2);
}

// The bytes of `text` from `at`, as many as there are up to eight, with
// zeros after them.
std::uint64_t LoadWord(std::string_view text, std::size_t at)
{
    std::uint64_t word = 0;
    // A fixed length lets the compiler make one load of the full words.
    if (text.size() - at >= sizeof word)
        std::memcpy(&word, text.data() + at, sizeof word);
    else
        std::memcpy(&word, text.data() + at, text.size() - at);
    return word;
}

// The sort key of a text path: its bytes with ASCII capitals lowered, so
// that a plain byte comparison of two keys orders the paths as the
// case-insensitive comparison does.
void FoldInto(std::string& key, std::string_view textPath)
{
    key.assign(textPath);
    std::size_t at = 0;
    for (; key.size() - at >= 8; at += 8)
    {
        std::uint64_t folded = FoldWord(LoadWord(key, at));
        std::memcpy(key.data() + at, &folded, sizeof folded);
    }
    for (; at < key.size(); ++at)
    {
        if (key[at] >= 'A' && key[at] <= 'Z')
            key[at] = static_cast<char>(key[at] - 'A' + 'a');
    }
}

std::uint64_t MixWord(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 32);
}
} // namespace

CConverterList::CConverterList(const CPathRules& identity) : m_identity(identity) {}

CConverterList::~CConverterList() = default;

CConverter* CConverterList::At(int row) const
{
    if (row < 0 || row >= m_nSize)
        return nullptr;
    auto [chunk, offset] = Locate(row);
    return m_chunks[chunk].At(offset);
}

int CConverterList::UpperBound(std::string_view textPath) const
{
    return Bound(textPath, true);
}

int CConverterList::LowerBound(std::string_view textPath) const
{
    return Bound(textPath, false);
}

// The bound lies in the first chunk whose last row is past it; only that
// chunk is searched row by row.
int CConverterList::Bound(std::string_view textPath, bool upper) const
{
    FoldInto(m_strProbe, textPath);
    std::string_view probe = m_strProbe;
    auto chunk =
        std::partition_point(m_chunks.begin(), m_chunks.end(),
                             [&](const CConverterChunk& each)
                             { return upper ? each.LastKey() <= probe : each.LastKey() < probe; });
    if (chunk == m_chunks.end())
        return m_nSize;
    auto index = static_cast<std::size_t>(chunk - m_chunks.begin());
    return m_firstRows[index] + static_cast<int>(chunk->Bound(probe, upper));
}

void CConverterList::Insert(int row, std::unique_ptr<CConverter> converter)
{
    if (!converter)
        return;
    row = std::clamp(row, 0, m_nSize);
    CConverter* added = converter.get();
    FoldInto(m_strProbe, added->m_strTextPath);
    std::string_view key = m_strProbe;
    Index(added);
    try
    {
        if (m_chunks.empty())
        {
            StartFirstChunk(key, converter);
            ++m_nSize;
            return;
        }
        auto [chunk, offset] = Locate(row);
        CConverterChunk& target = m_chunks[chunk];
        // Room is made first: once the converter has moved, nothing may fail.
        target.Reserve(key);
        target.Insert(offset, key, std::move(converter));
        ++m_nSize;
        ShiftFirstRows(chunk + 1, 1);
        if (target.Size() > CConverterChunk::kMaxRows)
            SplitChunk(chunk);
    }
    catch (...)
    {
        if (converter)
            Unindex(added);
        throw;
    }
}

std::unique_ptr<CConverter> CConverterList::Take(int row)
{
    if (row < 0 || row >= m_nSize)
        return nullptr;
    auto [chunk, offset] = Locate(row);
    std::unique_ptr<CConverter> converter = m_chunks[chunk].Take(offset);
    --m_nSize;
    if (m_chunks[chunk].Empty())
    {
        m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
        m_firstRows.erase(m_firstRows.begin() + static_cast<std::ptrdiff_t>(chunk));
        ShiftFirstRows(chunk, -1);
    }
    else
    {
        ShiftFirstRows(chunk + 1, -1);
    }
    Unindex(converter.get());
    return converter;
}

void CConverterList::Clear()
{
    m_bySourcePath.Clear();
    m_members.Clear();
    m_nSize = 0;
    m_chunks.clear();
    m_firstRows.clear();
}

CConverter* CConverterList::FindBySourcePath(std::string_view path) const
{
    return m_bySourcePath.Find(SourceHash(path), [&](const CConverter* listed)
                               { return m_identity.SamePath(listed->m_strSourcePath, path); });
}

bool CConverterList::Contains(const CConverter* converter) const
{
    // Only the pointers are compared: the converter itself may be gone.
    auto identity = reinterpret_cast<std::uintptr_t>(converter);
    return converter &&
           m_members.Find(identity, [&](const CConverter* listed) { return listed == converter; });
}

std::optional<int> CConverterList::RowOf(const CConverter* converter) const
{
    if (!Contains(converter))
        return std::nullopt;
    // Only rows with an equal text path can hold it; usually there is one.
    for (int row = LowerBound(converter->m_strTextPath); row < m_nSize; ++row)
    {
        const CConverter* listed = At(row);
        if (listed == converter)
            return row;
        if (CPathRules::CompareNoCase(listed->m_strTextPath, converter->m_strTextPath) != 0)
            break;
    }
    return std::nullopt;
}

std::pair<std::size_t, std::size_t> CConverterList::Locate(int row) const
{
    auto after = std::upper_bound(m_firstRows.begin(), m_firstRows.end(), row);
    auto chunk =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, (after - m_firstRows.begin()) - 1));
    return {chunk, static_cast<std::size_t>(row - m_firstRows[chunk])};
}

// A word at a time over the bytes as the identity sees them: this runs once
// for every file an add meets.
std::uint64_t CConverterList::SourceHash(std::string_view path) const
{
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ path.size();
    for (std::size_t at = 0; at < path.size(); at += 8)
    {
        std::uint64_t word = LoadWord(path, at);
        hash =
            MixWord(hash, m_identity.Kind() == CPathRules::EKind::Windows ? FoldWord(word) : word);
    }
    return MixWord(hash, hash >> 29);
}

void CConverterList::Index(CConverter* converter)
{
    std::uint64_t sourceHash = SourceHash(converter->m_strSourcePath);
    m_bySourcePath.Insert(sourceHash, converter);
    try
    {
        m_members.Insert(reinterpret_cast<std::uintptr_t>(converter), converter);
    }
    catch (...)
    {
        m_bySourcePath.Erase(sourceHash, converter);
        throw;
    }
}

void CConverterList::Unindex(CConverter* converter)
{
    m_members.Erase(reinterpret_cast<std::uintptr_t>(converter), converter);
    m_bySourcePath.Erase(SourceHash(converter->m_strSourcePath), converter);
}

// Reserving first means nothing can fail once the converter has moved in.
void CConverterList::StartFirstChunk(std::string_view foldedKey,
                                     std::unique_ptr<CConverter>& converter)
{
    m_chunks.reserve(1);
    m_firstRows.reserve(1);
    CConverterChunk first;
    first.Reserve(foldedKey);
    first.Insert(0, foldedKey, std::move(converter));
    m_chunks.push_back(std::move(first));
    m_firstRows.push_back(0);
}

// The row is already in; a split that cannot get its memory leaves one long
// chunk, which is still correct, so it gives up quietly.
void CConverterList::SplitChunk(std::size_t chunk)
{
    try
    {
        if (m_chunks.size() == m_chunks.capacity())
            m_chunks.reserve(m_chunks.size() * 2);
        if (m_firstRows.size() == m_firstRows.capacity())
            m_firstRows.reserve(m_firstRows.size() * 2);
        std::size_t keep = m_chunks[chunk].Size() / 2;
        CConverterChunk tail = m_chunks[chunk].SplitOff(keep);
        auto next = static_cast<std::ptrdiff_t>(chunk + 1);
        m_firstRows.insert(m_firstRows.begin() + next, m_firstRows[chunk] + static_cast<int>(keep));
        m_chunks.insert(m_chunks.begin() + next, std::move(tail));
    }
    catch (const std::bad_alloc&)
    {
    }
}

void CConverterList::ShiftFirstRows(std::size_t chunk, int delta)
{
    for (std::size_t i = chunk; i < m_firstRows.size(); ++i)
        m_firstRows[i] += delta;
}
