// SPDX-License-Identifier: GPL-3.0-or-later
#include "WrittenTexts.h"

#include <functional>
#include <string_view>

namespace
{
// Spreads std::hash's bits, which may be the identity on some systems, into
// a second independent hash for double hashing.
std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}
} // namespace

// 16 bits and 11 probes a key: about one "maybe" in 2000 for a key not in a
// full filter, one in 400 for all the filters of a million files; the
// times of the text files keep nearly every question from them.
class CWrittenTexts::CFilter
{
public:
    static constexpr std::size_t kBitsPerKey = 16;
    static constexpr int kProbes = 11;

    explicit CFilter(std::size_t capacity)
        : m_nCapacity(capacity), m_words((capacity * kBitsPerKey + 63) / 64)
    {
    }

    bool IsFull() const { return m_nKeys >= m_nCapacity; }
    std::size_t Capacity() const { return m_nCapacity; }
    std::size_t Bytes() const { return m_words.size() * sizeof(std::uint64_t); }

    void Add(std::uint64_t hash)
    {
        ++m_nKeys;
        ForEachBit(hash, [this](std::uint64_t bit) { m_words[bit / 64] |= Bit(bit); });
    }

    bool MayHold(std::uint64_t hash) const
    {
        bool all = true;
        ForEachBit(hash, [&](std::uint64_t bit) { all = all && (m_words[bit / 64] & Bit(bit)); });
        return all;
    }

private:
    static std::uint64_t Bit(std::uint64_t bit) { return std::uint64_t{1} << (bit % 64); }

    template <typename FBit> void ForEachBit(std::uint64_t hash, FBit onBit) const
    {
        std::uint64_t bits = m_words.size() * 64;
        std::uint64_t step = Mix(hash) | 1;
        for (int probe = 0; probe < kProbes; ++probe)
            onBit((hash + static_cast<std::uint64_t>(probe) * step) % bits);
    }

    const std::size_t m_nCapacity;
    std::size_t m_nKeys = 0;
    std::vector<std::uint64_t> m_words;
};

CWrittenTexts::CWrittenTexts(std::size_t recordBytesInMemory)
    : m_nRecordBytesInMemory(recordBytesInMemory)
{
}

CWrittenTexts::~CWrittenTexts() = default;

void CWrittenTexts::Note(const std::string& textKey, const CTextWriter& writer,
                         std::int64_t modifiedNs)
{
    if (!m_oldestWriteNs || modifiedNs < *m_oldestWriteNs)
        m_oldestWriteNs = modifiedNs;
    std::uint64_t hash = Mix(std::hash<std::string>{}(textKey));
    if (m_filters.empty() || m_filters.back()->IsFull())
    {
        std::size_t capacity = m_filters.empty() ? 1024 : m_filters.back()->Capacity() * 4;
        m_filters.push_back(std::make_unique<CFilter>(capacity));
    }
    m_filters.back()->Add(hash);
    for (const std::string* field : {&textKey, &writer.strSourceKey, &writer.strSourcePath})
        m_records.append(*field).push_back('\0');
    if (m_records.size() >= m_nRecordBytesInMemory)
        SpillRecords();
}

std::optional<CTextWriter> CWrittenTexts::WriterOf(const std::string& textKey,
                                                   std::int64_t modifiedNs)
{
    if (!m_oldestWriteNs || modifiedNs < *m_oldestWriteNs - kTimeSlackNs ||
        !MayHold(Mix(std::hash<std::string>{}(textKey))))
        return std::nullopt;
    std::size_t used = 0;
    if (std::optional<CTextWriter> writer = FindIn(m_records, textKey, used))
        return writer;
    return FindInFile(textKey);
}

std::size_t CWrittenTexts::FilterBytes() const
{
    std::size_t bytes = 0;
    for (const std::unique_ptr<CFilter>& filter : m_filters)
        bytes += filter->Bytes();
    return bytes;
}

bool CWrittenTexts::MayHold(std::uint64_t hash) const
{
    for (const std::unique_ptr<CFilter>& filter : m_filters)
    {
        if (filter->MayHold(hash))
            return true;
    }
    return false;
}

// A scratch file that cannot be made or written leaves the records in
// memory: more memory, the same answers.
void CWrittenTexts::SpillRecords()
{
    if (m_bScratchFailed)
        return;
    if (!m_pScratch)
        m_pScratch.reset(std::tmpfile());
    if (!m_pScratch || std::fseek(m_pScratch.get(), 0, SEEK_END) != 0 ||
        std::fwrite(m_records.data(), 1, m_records.size(), m_pScratch.get()) != m_records.size())
    {
        m_bScratchFailed = true;
        return;
    }
    m_records.clear();
}

std::optional<CTextWriter> CWrittenTexts::FindInFile(const std::string& textKey)
{
    if (!m_pScratch || std::fflush(m_pScratch.get()) != 0 ||
        std::fseek(m_pScratch.get(), 0, SEEK_SET) != 0)
        return std::nullopt;
    std::string chunk;
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;)
    {
        std::size_t read = std::fread(buffer.data(), 1, buffer.size(), m_pScratch.get());
        if (read == 0)
            return std::nullopt;
        chunk.append(buffer.data(), read);
        std::size_t used = 0;
        if (std::optional<CTextWriter> writer = FindIn(chunk, textKey, used))
            return writer;
        // A record cut by the chunk's end is read again with the next one.
        chunk.erase(0, used);
    }
}

// `used`: the bytes of the whole records read.
std::optional<CTextWriter> CWrittenTexts::FindIn(const std::string& records,
                                                 const std::string& textKey, std::size_t& used)
{
    std::string_view rest = records;
    std::size_t start = 0;
    for (;;)
    {
        std::string_view fields[3];
        std::size_t at = start;
        for (std::string_view& field : fields)
        {
            std::size_t end = rest.find('\0', at);
            if (end == std::string_view::npos)
            {
                used = start;
                return std::nullopt;
            }
            field = rest.substr(at, end - at);
            at = end + 1;
        }
        if (fields[0] == textKey)
            return CTextWriter{std::string(fields[1]), std::string(fields[2])};
        start = at;
    }
}
