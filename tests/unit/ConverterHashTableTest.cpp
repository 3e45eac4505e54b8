// SPDX-License-Identifier: GPL-3.0-or-later
// The open-addressed table behind the list's look-ups, checked against a
// standard multimap while runs of colliding entries grow, wrap round the end
// of the array and are taken apart again.

#include "doc/ConverterHashTable.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace
{
class ConverterHashTable : public ::testing::Test
{
protected:
    CConverterTable m_table{std::make_shared<CConverterContext>()};
    std::vector<std::unique_ptr<CConverter>> m_converters;

    void MakeConverters(int count)
    {
        for (int i = 0; i < count; ++i)
            m_converters.push_back(m_table.FindConverter("/c" + std::to_string(i) + ".pdf"));
    }

    CConverter* Converter(std::size_t i) const { return m_converters[i].get(); }

    static auto Is(const CConverter* wanted)
    {
        return [wanted](const CConverter* each) { return each == wanted; };
    }
};
} // namespace

TEST_F(ConverterHashTable, AgreesWithAMultimapThroughInsertionsAndErasures)
{
    MakeConverters(600);
    ::CConverterHashTable table;
    std::multimap<std::uint64_t, const CConverter*> expected;
    std::mt19937 random(3);
    // Few distinct hashes, so that long runs of equal and neighbouring
    // homes form, and every erasure has entries behind it to move back.
    for (int step = 0; step < 20000; ++step)
    {
        std::uint64_t hash = random() % 40;
        CConverter* converter = Converter(random() % m_converters.size());
        bool filed = false;
        for (auto [entry, end] = expected.equal_range(hash); entry != end; ++entry)
            filed = filed || entry->second == converter;
        if (random() % 3 != 0 && !filed)
        {
            table.Insert(hash, converter);
            expected.emplace(hash, converter);
        }
        else
        {
            ASSERT_EQ(table.Erase(hash, converter), filed);
            for (auto [entry, end] = expected.equal_range(hash); entry != end; ++entry)
            {
                if (entry->second == converter)
                {
                    expected.erase(entry);
                    break;
                }
            }
        }
        ASSERT_EQ(table.Size(), expected.size());
        if (step % 97 == 0)
        {
            for (std::size_t i = 0; i < m_converters.size(); ++i)
            {
                for (std::uint64_t each = 0; each < 40; ++each)
                {
                    bool inExpected = false;
                    for (auto [entry, end] = expected.equal_range(each); entry != end; ++entry)
                        inExpected = inExpected || entry->second == Converter(i);
                    ASSERT_EQ(table.Find(each, Is(Converter(i))) != nullptr, inExpected)
                        << "hash " << each << ", converter " << i << ", step " << step;
                }
            }
        }
    }
}

TEST_F(ConverterHashTable, OneConverterUnderTwoHashesAndTwoUnderOne)
{
    MakeConverters(2);
    ::CConverterHashTable table;
    table.Insert(7, Converter(0));
    table.Insert(9, Converter(0));
    table.Insert(7, Converter(1));
    EXPECT_EQ(table.Find(7, Is(Converter(1))), Converter(1));
    EXPECT_EQ(table.Find(7, [](const CConverter*) { return true; }), Converter(0));
    EXPECT_TRUE(table.Erase(7, Converter(0)));
    EXPECT_EQ(table.Find(9, Is(Converter(0))), Converter(0));
    EXPECT_EQ(table.Find(7, Is(Converter(0))), nullptr);
    EXPECT_FALSE(table.Erase(7, Converter(0)));
    EXPECT_FALSE(table.Erase(8, Converter(1)));
    table.Clear();
    EXPECT_EQ(table.Size(), 0u);
    EXPECT_EQ(table.Find(9, Is(Converter(0))), nullptr);
    // Nothing was ever filed here.
    EXPECT_FALSE(::CConverterHashTable().Erase(1, Converter(0)));
}
