// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SettleList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace
{
using namespace std::chrono_literals;
using EWriter = CSettleList::EWriter;

// Files by path and a clock the test moves by hand.
class SettleList : public ::testing::Test
{
protected:
    void Write(const std::string& path, std::int64_t size)
    {
        CFileStamp& stamp = m_files[path];
        stamp.nSize = size;
        stamp.nModifiedNs += 1;
    }

    std::vector<CSettleList::CReady> Settled(std::chrono::milliseconds time)
    {
        m_now += time;
        return m_list.TakeSettled(m_now);
    }
    std::vector<std::string> After(std::chrono::milliseconds time)
    {
        std::vector<std::string> paths;
        for (const CSettleList::CReady& file : Settled(time))
            paths.push_back(file.strPath);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    std::map<std::string, CFileStamp> m_files;
    CSettleList::CClock::time_point m_now{};
    CSettleList m_list{2000ms,
                       [this](const std::string& path) -> std::optional<CFileStamp>
                       {
                           auto it = m_files.find(path);
                           return it == m_files.end() ? std::nullopt : std::optional(it->second);
                       }};
};

using Paths = std::vector<std::string>;

} // namespace

TEST_F(SettleList, ClosedFileUnchangedForTheTime_SettlesOnce)
{
    Write("a.pdf", 10);
    m_list.Note("a.pdf", EWriter::Unknown, m_now);
    EXPECT_EQ(m_list.NextDue(), m_now + 2000ms);
    EXPECT_EQ(After(1999ms), Paths{});
    EXPECT_EQ(After(1ms), Paths{"a.pdf"});
    EXPECT_EQ(After(10s), Paths{});
    EXPECT_FALSE(m_list.NextDue());
    EXPECT_EQ(m_list.Size(), 0u);
}

// What the system did not tell is found by looking: a file that grew
// since it was noted waits again from then.
TEST_F(SettleList, FileThatChangedUntold_WaitsAgain)
{
    Write("a.pdf", 10);
    m_list.Note("a.pdf", EWriter::Unknown, m_now);
    Write("a.pdf", 20);
    EXPECT_EQ(After(2s), Paths{});
    EXPECT_EQ(After(1s), Paths{});
    EXPECT_EQ(After(1s), Paths{"a.pdf"});
}

// A file open for writing, however long it pauses, waits for its close;
// an empty one not known closed waits for its first write.
TEST_F(SettleList, OpenOrEmptyFiles_WaitForTheirNextChange)
{
    Write("open.pdf", 10);
    m_list.Note("open.pdf", EWriter::Open, m_now);
    Write("empty.pdf", 0);
    m_list.Note("empty.pdf", EWriter::Unknown, m_now);
    // Closed empty, it is what its writer meant it to be.
    Write("closed-empty.pdf", 0);
    m_list.Note("closed-empty.pdf", EWriter::Closed, m_now);
    EXPECT_EQ(After(1h), Paths{"closed-empty.pdf"});
    EXPECT_FALSE(m_list.NextDue());

    Write("open.pdf", 30);
    m_list.Note("open.pdf", EWriter::Closed, m_now);
    Write("empty.pdf", 5);
    m_list.Note("empty.pdf", EWriter::Unknown, m_now);
    EXPECT_EQ(After(2s), (Paths{"empty.pdf", "open.pdf"}));
}

// A file met by a look that cannot tell whether it changed stays so until
// a change of it is told.
TEST_F(SettleList, MetThenChanged_SettlesAsChanged)
{
    Write("met.pdf", 10);
    m_list.Note("met.pdf", EWriter::Unknown, m_now, false);
    Write("both.pdf", 10);
    m_list.Note("both.pdf", EWriter::Unknown, m_now, false);
    m_list.Note("both.pdf", EWriter::Unknown, m_now, true);
    std::vector<CSettleList::CReady> settled = Settled(2s);
    std::sort(settled.begin(), settled.end(),
              [](const auto& a, const auto& b) { return a.strPath < b.strPath; });
    EXPECT_EQ(settled, (std::vector<CSettleList::CReady>{{"both.pdf", true}, {"met.pdf", false}}));
}

TEST_F(SettleList, FileGoneBeforeItSettled_LeavesTheList)
{
    Write("a.pdf", 10);
    m_list.Note("a.pdf", EWriter::Unknown, m_now);
    m_files.clear();
    EXPECT_EQ(After(2s), Paths{});
    EXPECT_EQ(m_list.Size(), 0u);
}
