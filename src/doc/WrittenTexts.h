// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TextWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The text files one add operation wrote, each with the PDF it was made
// from, so that no other PDF of the add writes one of them again. An add of
// the command may meet millions of files, so memory stays nearly flat:
// about 2 bytes a file and 1 MiB besides.
//
// - A text file older than the oldest this add wrote cannot be one of its
//   own: most questions end there. Times come from the text files
//   themselves, so a file server whose clock differs changes nothing; two
//   seconds are allowed for file systems that keep times that coarsely.
// - Membership is asked of Bloom filters, 16 bits a text file: the answer
//   "not written" (nearly every answer, as text files of one add rarely
//   meet) is certain and costs no reading. A filter that is full is joined
//   by one four times its size, so an add of ten files takes a few KiB.
// - The records themselves (text file, source) are kept in memory up to a
//   budget, then in a scratch file that goes with the object; a "maybe" of
//   the filters reads them, the newest first. Two PDFs whose text files
//   meet are mostly found side by side (a.pdf and a.PDF), so the newest
//   records are nearly always enough.
// - Where no scratch file can be made, records stay in memory.
//
// One thread only.
class CWrittenTexts
{
public:
    static constexpr std::size_t kRecordBytesInMemory = std::size_t{1} << 20;

    explicit CWrittenTexts(std::size_t recordBytesInMemory = kRecordBytesInMemory);
    ~CWrittenTexts();
    CWrittenTexts(const CWrittenTexts&) = delete;
    CWrittenTexts& operator=(const CWrittenTexts&) = delete;

    static constexpr std::int64_t kTimeSlackNs = 2'000'000'000;

    // The text file of `textKey`, last changed at `modifiedNs`, was written
    // from `writer`.
    void Note(const std::string& textKey, const CTextWriter& writer, std::int64_t modifiedNs);
    // Who wrote the text file, last changed at `modifiedNs`, if this add
    // wrote it.
    std::optional<CTextWriter> WriterOf(const std::string& textKey, std::int64_t modifiedNs);

    // The bytes the filters take, for measuring.
    std::size_t FilterBytes() const;

private:
    class CFilter;
    struct CCloseFile
    {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool MayHold(std::uint64_t hash) const;
    void SpillRecords();
    std::optional<CTextWriter> FindInFile(const std::string& textKey);
    static std::optional<CTextWriter> FindIn(const std::string& records, const std::string& textKey,
                                             std::size_t& used);

    const std::size_t m_nRecordBytesInMemory;
    std::optional<std::int64_t> m_oldestWriteNs;
    std::vector<std::unique_ptr<CFilter>> m_filters;
    // Records not spilled yet, each three strings ending in NUL: text key,
    // source key, source path. Paths and keys hold no NUL.
    std::string m_records;
    std::unique_ptr<std::FILE, CCloseFile> m_pScratch;
    bool m_bScratchFailed = false;
};
