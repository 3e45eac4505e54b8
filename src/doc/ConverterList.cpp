#include "ConverterList.h"

#include "extract/Converter.h"
#include "platform/PathRules.h"

#include <algorithm>
#include <cstdint>

namespace
{
// Small enough that an insertion moves little, large enough that the chunk
// table stays short: 100,000 rows make a few hundred chunks.
constexpr std::size_t kMaxChunkSize = 512;

unsigned char FoldAscii(char ch)
{
    auto byte = static_cast<unsigned char>(ch);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}
} // namespace

std::size_t CConverterList::CIdentityHash::operator()(std::string_view path) const
{
    // FNV-1a over the bytes as the identity sees them.
    std::uint64_t hash = 14695981039346656037ull;
    for (char ch : path)
    {
        hash ^= m_bFoldCase ? FoldAscii(ch) : static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

bool CConverterList::CIdentityEqual::operator()(std::string_view a, std::string_view b) const
{
    return m_bFoldCase ? CPathRules::CompareNoCase(a, b) == 0 : a == b;
}

CConverterList::CConverterList(const CPathRules& identity)
    : m_bySourcePath(0, CIdentityHash(identity.Kind() == CPathRules::EKind::Windows),
                     CIdentityEqual(identity.Kind() == CPathRules::EKind::Windows))
{
}

CConverterList::~CConverterList() = default;

CConverter* CConverterList::At(int row) const
{
    if (row < 0 || row >= m_nSize)
        return nullptr;
    auto [chunk, offset] = Locate(row);
    return m_chunks[chunk][static_cast<std::size_t>(offset)].pConverter.get();
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
    // Whether a row lies before the bound.
    auto before = [&](std::string_view key)
    {
        int order = CPathRules::CompareNoCase(key, textPath);
        return upper ? order <= 0 : order < 0;
    };
    auto head = std::partition_point(m_heads.begin(), m_heads.end(),
                                     [&](const CChunkHead& each) { return before(each.lastKey); });
    if (head == m_heads.end())
        return m_nSize;
    const CChunk& rows = m_chunks[static_cast<std::size_t>(head - m_heads.begin())];
    auto row = std::partition_point(rows.begin(), rows.end(),
                                    [&](const CRow& each) { return before(each.key); });
    return head->nFirstRow + static_cast<int>(row - rows.begin());
}

void CConverterList::Insert(int row, std::unique_ptr<CConverter> converter)
{
    if (!converter)
        return;
    row = std::clamp(row, 0, m_nSize);
    CConverter* added = converter.get();
    Index(added);
    try
    {
        if (m_chunks.empty())
        {
            StartFirstChunk(converter);
            ++m_nSize;
            return;
        }
        auto [chunk, offset] = Locate(row);
        CChunk& rows = m_chunks[chunk];
        // Room is made first: once the row is built, nothing may fail.
        if (rows.size() == rows.capacity())
            rows.reserve(std::clamp<std::size_t>(rows.size() * 2, 8, kMaxChunkSize + 1));
        rows.insert(rows.begin() + offset, CRow{added->m_strTextPath, std::move(converter)});
        ++m_nSize;
        m_heads[chunk].lastKey = rows.back().key;
        RenumberFrom(chunk + 1);
        if (rows.size() > kMaxChunkSize)
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
    CChunk& rows = m_chunks[chunk];
    std::unique_ptr<CConverter> taken =
        std::move(rows[static_cast<std::size_t>(offset)].pConverter);
    rows.erase(rows.begin() + offset);
    --m_nSize;
    if (rows.empty())
    {
        m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
        m_heads.erase(m_heads.begin() + static_cast<std::ptrdiff_t>(chunk));
        RenumberFrom(chunk);
    }
    else
    {
        m_heads[chunk].lastKey = rows.back().key;
        RenumberFrom(chunk + 1);
    }
    Unindex(taken.get());
    return taken;
}

void CConverterList::Clear()
{
    m_bySourcePath.clear();
    m_members.clear();
    m_heads.clear();
    m_nSize = 0;
    m_chunks.clear();
}

CConverter* CConverterList::FindBySourcePath(std::string_view path) const
{
    auto found = m_bySourcePath.find(path);
    return found == m_bySourcePath.end() ? nullptr : found->second;
}

bool CConverterList::Contains(const CConverter* converter) const
{
    return converter && m_members.count(converter) != 0;
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

std::pair<std::size_t, int> CConverterList::Locate(int row) const
{
    auto after =
        std::partition_point(m_heads.begin(), m_heads.end(),
                             [row](const CChunkHead& head) { return head.nFirstRow <= row; });
    auto chunk =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, (after - m_heads.begin()) - 1));
    return {chunk, row - m_heads[chunk].nFirstRow};
}

void CConverterList::Index(CConverter* converter)
{
    auto entry = m_bySourcePath.emplace(converter->m_strSourcePath, converter);
    try
    {
        m_members.insert(converter);
    }
    catch (...)
    {
        m_bySourcePath.erase(entry);
        throw;
    }
}

void CConverterList::Unindex(CConverter* converter)
{
    m_members.erase(converter);
    auto [first, last] = m_bySourcePath.equal_range(converter->m_strSourcePath);
    for (auto entry = first; entry != last; ++entry)
    {
        if (entry->second == converter)
        {
            m_bySourcePath.erase(entry);
            return;
        }
    }
}

// Reserving first means nothing can fail once the converter has moved in.
void CConverterList::StartFirstChunk(std::unique_ptr<CConverter>& converter)
{
    m_chunks.reserve(1);
    m_heads.reserve(1);
    CChunk rows;
    rows.reserve(1);
    std::string_view key = converter->m_strTextPath;
    rows.push_back(CRow{key, std::move(converter)});
    m_chunks.push_back(std::move(rows));
    m_heads.push_back(CChunkHead{0, key});
}

// Everything that can fail to allocate happens before the first row moves,
// so a failed split leaves a long chunk, never a lost row.
void CConverterList::SplitChunk(std::size_t chunk)
{
    if (m_chunks.size() == m_chunks.capacity())
        m_chunks.reserve(m_chunks.size() * 2);
    if (m_heads.size() == m_heads.capacity())
        m_heads.reserve(m_heads.size() * 2);
    CChunk& rows = m_chunks[chunk];
    std::size_t keep = rows.size() / 2;
    CChunk tail;
    tail.reserve(rows.size() - keep);
    std::move(rows.begin() + static_cast<std::ptrdiff_t>(keep), rows.end(),
              std::back_inserter(tail));
    rows.resize(keep);
    m_heads[chunk].lastKey = rows.back().key;
    auto next = static_cast<std::ptrdiff_t>(chunk + 1);
    m_heads.insert(m_heads.begin() + next, CChunkHead{0, tail.back().key});
    m_chunks.insert(m_chunks.begin() + next, std::move(tail));
    RenumberFrom(chunk + 1);
}

void CConverterList::RenumberFrom(std::size_t chunk)
{
    for (std::size_t i = chunk; i < m_chunks.size(); ++i)
    {
        m_heads[i].nFirstRow =
            i == 0 ? 0 : m_heads[i - 1].nFirstRow + static_cast<int>(m_chunks[i - 1].size());
    }
}
