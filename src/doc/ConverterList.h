#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CConverter;
class CPathRules;

// The listed converters, owned, in the order the caller inserts them, with
// the look-ups a list of a hundred thousand files needs: rows are kept in
// short chunks so that an insertion or removal moves only a few pointers, a
// binary search finds the place of a text path, and hashes answer "is this
// source path listed" and "is this converter listed" without walking.
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
    // A row keeps a view of its converter's text path beside the pointer,
    // so that a search reads the key without first visiting the converter.
    // Converters do not change once made, so the view stays valid.
    struct CRow
    {
        std::string_view key;
        std::unique_ptr<CConverter> pConverter;
    };
    using CChunk = std::vector<CRow>;

    // What the search needs of each chunk, kept in one short array so that
    // finding the chunk reads no chunk's rows.
    struct CChunkHead
    {
        int nFirstRow;
        std::string_view lastKey;
    };

    // Source paths keyed by views of the listed converters' own strings:
    // a look-up copies nothing. Windows rules fold letter case.
    class CIdentityHash
    {
    public:
        explicit CIdentityHash(bool bFoldCase) : m_bFoldCase(bFoldCase) {}
        std::size_t operator()(std::string_view path) const;

    private:
        bool m_bFoldCase;
    };
    class CIdentityEqual
    {
    public:
        explicit CIdentityEqual(bool bFoldCase) : m_bFoldCase(bFoldCase) {}
        bool operator()(std::string_view a, std::string_view b) const;

    private:
        bool m_bFoldCase;
    };

    int Bound(std::string_view textPath, bool upper) const;
    // The chunk holding `row` and the offset within it; the row just past
    // the end belongs to the last chunk.
    std::pair<std::size_t, int> Locate(int row) const;
    void Index(CConverter* converter);
    void Unindex(CConverter* converter);
    void StartFirstChunk(std::unique_ptr<CConverter>& converter);
    void SplitChunk(std::size_t chunk);
    void RenumberFrom(std::size_t chunk);

    std::vector<CChunk> m_chunks;
    std::vector<CChunkHead> m_heads;
    int m_nSize = 0;
    std::unordered_multimap<std::string_view, CConverter*, CIdentityHash, CIdentityEqual>
        m_bySourcePath;
    std::unordered_set<const CConverter*> m_members;
};
