// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc/WrittenTexts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

// The record answers as a plain map would, whether its records are all in
// memory or nearly all in the scratch file (a budget of a few records, so
// that records are cut by the scratch file's read chunks too), and however
// many filters it grew.
TEST(WrittenTexts, AnswersAsAMapWhereverItsRecordsLie)
{
    for (std::size_t budget : {CWrittenTexts::kRecordBytesInMemory, std::size_t{100}})
    {
        SCOPED_TRACE(budget);
        CWrittenTexts written(budget);
        std::map<std::string, CTextWriter> expected;
        for (int i = 0; i < 8000; ++i)
        {
            std::string key = "id 2049:" + std::to_string(i * 7919 % 100003) + " text" +
                              std::to_string(i) + ".txt";
            if (i % 3 == 0)
                continue;
            CTextWriter writer{"id 2049:5 source" + std::to_string(i),
                               "/home/me/pdfs/" + std::string(i % 50, 'x') + std::to_string(i)};
            written.Note(key, writer, 1000 * i);
            expected.emplace(key, writer);
        }
        int asked = 0;
        for (int i = 0; i < 8000; i += 7)
        {
            std::string key = "id 2049:" + std::to_string(i * 7919 % 100003) + " text" +
                              std::to_string(i) + ".txt";
            std::optional<CTextWriter> found = written.WriterOf(key, 8000 * 1000);
            auto known = expected.find(key);
            ASSERT_EQ(found.has_value(), known != expected.end()) << key;
            if (found)
            {
                EXPECT_EQ(found->strSourceKey, known->second.strSourceKey);
                EXPECT_EQ(found->strSourcePath, known->second.strSourcePath);
            }
            ++asked;
        }
        EXPECT_GT(asked, 1000);
        EXPECT_FALSE(written.WriterOf("", 8000 * 1000).has_value());
        // Older than the oldest text written, less the slack: not asked.
        std::string first = "id 2049:7919 text1.txt";
        EXPECT_TRUE(written.WriterOf(first, 1000 - CWrittenTexts::kTimeSlackNs).has_value());
        EXPECT_FALSE(written.WriterOf(first, 999 - CWrittenTexts::kTimeSlackNs).has_value());
    }
}
