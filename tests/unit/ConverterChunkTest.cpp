// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the list's rows on its own: searches for keys inside, before
// and after the part its keys share, and splitting.

#include "doc/ConverterChunk.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <gtest/gtest.h>

namespace
{
class ConverterChunk : public ::testing::Test
{
protected:
    CConverterTable m_table{std::make_shared<CConverterContext>()};
    ::CConverterChunk m_chunk;

    // Keys here are given already folded, in order.
    void Fill(const std::vector<std::string>& keys)
    {
        for (const std::string& key : keys)
        {
            m_chunk.Reserve(key);
            m_chunk.Insert(m_chunk.Size(), key, m_table.FindConverter("/" + key + ".pdf"));
        }
    }

    static std::vector<std::string> Sources(const ::CConverterChunk& chunk)
    {
        std::vector<std::string> sources;
        for (std::size_t i = 0; i < chunk.Size(); ++i)
            sources.emplace_back(chunk.At(i)->m_strSourcePath);
        return sources;
    }
};

struct CBoundCase
{
    const char* probe;
    std::size_t lower;
    std::size_t upper;
};
} // namespace

TEST_F(ConverterChunk, BoundsInsideBeforeAndAfterTheSharedPart)
{
    // Every key starts "/docs/report-2023-annual-", and the first two agree
    // for sixteen bytes past that.
    Fill({"/docs/report-2023-annual-summary-a", "/docs/report-2023-annual-summary-b",
          "/docs/report-2023-annual-x", "/docs/report-2023-annual-x",
          "/docs/report-2023-annual-y"});
    const CBoundCase cases[] = {
        {"/docs/report-2023-annual-summary-b", 1, 2},
        {"/docs/report-2023-annual-summary-", 0, 0},
        {"/docs/report-2023-annual-summary-c", 2, 2},
        {"/docs/report-2023-annual-x", 2, 4},
        {"/docs/report-2023-annual-", 0, 0},
        {"/docs/report", 0, 0},
        {"/docs/a", 0, 0},
        {"", 0, 0},
        {"/docs/report-2023-annual-z", 5, 5},
        {"/docs/s", 5, 5},
        {"/e", 5, 5},
    };
    for (const CBoundCase& each : cases)
    {
        EXPECT_EQ(m_chunk.Bound(each.probe, false), each.lower) << each.probe;
        EXPECT_EQ(m_chunk.Bound(each.probe, true), each.upper) << each.probe;
    }
}

TEST_F(ConverterChunk, AKeyOutsideTheSharedPartNarrowsIt)
{
    Fill({"/docs/b-long-name-one", "/docs/b-long-name-two"});
    // Goes first and shares only "/docs/" with the others.
    std::string first = "/docs/a";
    m_chunk.Reserve(first);
    m_chunk.Insert(0, first, m_table.FindConverter("/first.pdf"));
    EXPECT_EQ(m_chunk.Bound("/docs/b-long-name-one", false), 1u);
    EXPECT_EQ(m_chunk.Bound("/docs/b-long-name-three", false), 2u);
    EXPECT_EQ(m_chunk.Bound("/docs/b", true), 1u);
    EXPECT_EQ(m_chunk.LastKey(), "/docs/b-long-name-two");
}

TEST_F(ConverterChunk, SplitOffKeepsOrderAndSearchesInBothHalves)
{
    std::vector<std::string> keys;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        keys.push_back(std::string("/docs/") + letter);
    Fill(keys);
    // Taking rows first leaves the slots out of key order.
    m_chunk.Take(3);
    m_chunk.Take(0);
    ::CConverterChunk tail = m_chunk.SplitOff(10);
    EXPECT_EQ(m_chunk.Size(), 10u);
    EXPECT_EQ(tail.Size(), 14u);
    EXPECT_EQ(m_chunk.LastKey(), "/docs/l");
    EXPECT_EQ(tail.LastKey(), "/docs/z");
    EXPECT_EQ(Sources(m_chunk).front(), "//docs/b.pdf");
    EXPECT_EQ(Sources(tail).front(), "//docs/m.pdf");
    EXPECT_EQ(m_chunk.Bound("/docs/c", false), 1u);
    EXPECT_EQ(m_chunk.Bound("/docs/d", false), 2u);
    EXPECT_EQ(tail.Bound("/docs/q", true), 5u);
    EXPECT_EQ(tail.Bound("/docs/a", true), 0u);
    EXPECT_EQ(tail.Bound("/docs/zz", true), 14u);
}

TEST_F(ConverterChunk, TakingEveryRowInAnyOrderHandsEachOneBack)
{
    std::vector<std::string> keys;
    for (int i = 0; i < 40; ++i)
        keys.push_back("/k" + std::to_string(100 + i));
    Fill(keys);
    std::vector<std::string> expected = Sources(m_chunk);
    for (std::size_t step = 0; !m_chunk.Empty(); ++step)
    {
        std::size_t offset = (step * 7) % m_chunk.Size();
        EXPECT_EQ(m_chunk.Take(offset)->m_strSourcePath, expected[offset]);
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(offset));
        ASSERT_EQ(Sources(m_chunk), expected);
    }
    EXPECT_EQ(m_chunk.LastKey(), "");
    EXPECT_EQ(m_chunk.Bound("/k1", false), 0u);
}

TEST_F(ConverterChunk, ARunFullOfSlotNumbersRefusesAnotherRowAndKeepsItsOwn)
{
    // Splits that keep failing for want of memory are the only way a run
    // of the list gets this long.
    const std::size_t slots = 0xFFFF;
    for (std::size_t i = 0; i < slots; ++i)
    {
        std::string key = "/k" + std::to_string(100000 + i);
        m_chunk.Reserve(key);
        m_chunk.Insert(i, key, m_table.FindConverter("/k.pdf"));
    }
    EXPECT_THROW(m_chunk.Reserve("/k"), std::bad_alloc);
    EXPECT_EQ(m_chunk.Size(), slots);
    EXPECT_EQ(m_chunk.Bound("/k165534", false), slots - 1);
    EXPECT_EQ(m_chunk.LastKey(), "/k165534");
}
