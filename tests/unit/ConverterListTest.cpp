// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted, owning list behind the document, across many chunks.

#include "doc/ConverterList.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{
class ConverterList : public ::testing::Test
{
protected:
    CConverterTable m_table{std::make_shared<CConverterContext>()};
    CConverterList m_list{CPathRules::Posix()};

    // Inserts where the document would: after every equal key.
    const CConverter* Add(const std::string& path)
    {
        std::unique_ptr<CConverter> converter = m_table.FindConverter(path);
        const CConverter* added = converter.get();
        int row = m_list.UpperBound(converter->m_strTextPath);
        m_list.Insert(row, std::move(converter));
        return added;
    }

    std::vector<const CConverter*> Rows() const
    {
        std::vector<const CConverter*> rows;
        for (int row = 0; row < m_list.Size(); ++row)
            rows.push_back(m_list.At(row));
        return rows;
    }

    static bool TextLess(const CConverter* a, const CConverter* b)
    {
        return CPathRules::CompareNoCase(a->m_strTextPath, b->m_strTextPath) < 0;
    }

    // Every row answers to its own row number and its own source path.
    void ExpectConsistent(const std::vector<const CConverter*>& expected) const
    {
        ASSERT_EQ(Rows(), expected);
        for (int row = 0; row < static_cast<int>(expected.size()); ++row)
        {
            const CConverter* converter = expected[static_cast<std::size_t>(row)];
            ASSERT_EQ(m_list.RowOf(converter), row);
            ASSERT_TRUE(m_list.Contains(converter));
            ASSERT_NE(m_list.FindBySourcePath(converter->m_strSourcePath), nullptr);
        }
    }
};

std::string RandomPath(std::mt19937& random)
{
    // Few distinct names, so that equal keys and keys equal but for case
    // are common.
    std::string name = "/f" + std::to_string(random() % 7) + "/n" + std::to_string(random() % 400);
    if (random() % 2)
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    return name + ".pdf";
}

// Paths where the keys of neighbouring rows share long stretches: a deep
// common folder, long file names that differ only near their end or only in
// letter case, names that continue other names, and bytes past ASCII.
std::string CrowdedPath(std::mt19937& random)
{
    static const char* const kStems[] = {"Report-2023-annual-summary-",
                                         "Report-2023-annual-",
                                         "report-2023-ANNUAL-summary-",
                                         "Report",
                                         "a",
                                         "\xC3\xA9t\xC3\xA9-",
                                         "\xC3\x89T\xC3\x89-",
                                         "~"};
    std::string path = "/home/user/Documents/Archive/Folder " + std::to_string(random() % 12) + "/";
    path += kStems[random() % std::size(kStems)];
    if (random() % 4 != 0)
        path += std::to_string(random() % 60);
    if (random() % 5 == 0)
        path += ".txt";
    return path + (random() % 2 ? ".pdf" : ".PDF");
}

using PathMaker = std::string (*)(std::mt19937&);

int CompareTexts(const CConverter* a, std::string_view textPath)
{
    return CPathRules::CompareNoCase(a->m_strTextPath, textPath);
}
} // namespace

TEST_F(ConverterList, ManyInsertionsKeepTheOrderOfAStableSort)
{
    std::mt19937 random(11);
    std::vector<const CConverter*> inserted;
    for (int i = 0; i < 5000; ++i)
        inserted.push_back(Add(RandomPath(random)));
    std::stable_sort(inserted.begin(), inserted.end(), TextLess);
    ExpectConsistent(inserted);
}

TEST_F(ConverterList, TakingRowsAnywhereKeepsOrderAndLookUps)
{
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i)
        Add(RandomPath(random));
    std::vector<const CConverter*> expected = Rows();
    while (!expected.empty())
    {
        int row = static_cast<int>(random() % expected.size());
        const CConverter* taken = expected[static_cast<std::size_t>(row)];
        std::unique_ptr<CConverter> owned = m_list.Take(row);
        ASSERT_EQ(owned.get(), taken);
        expected.erase(expected.begin() + row);
        ASSERT_FALSE(m_list.Contains(taken));
        ASSERT_EQ(m_list.RowOf(taken), std::nullopt);
        if (expected.size() % 500 == 0)
            ExpectConsistent(expected);
    }
    EXPECT_TRUE(m_list.Empty());
    Add("/again.pdf");
    EXPECT_EQ(m_list.Size(), 1);
}

TEST_F(ConverterList, BoundsEncloseEqualKeysIgnoringCase)
{
    Add("/a.pdf");
    Add("/b.pdf");
    Add("/B.pdf");
    Add("/c.pdf");
    EXPECT_EQ(m_list.LowerBound("/b.txt"), 1);
    EXPECT_EQ(m_list.UpperBound("/B.TXT"), 3);
    EXPECT_EQ(m_list.LowerBound("/0.txt"), 0);
    EXPECT_EQ(m_list.UpperBound("/z.txt"), 4);
}

TEST_F(ConverterList, AskingAboutAConverterThatIsGoneIsSafe)
{
    const CConverter* gone = Add("/a.pdf");
    Add("/b.pdf");
    m_list.Take(0).reset();
    // The pointer is dangling: only its value may be used.
    EXPECT_FALSE(m_list.Contains(gone));
    EXPECT_EQ(m_list.RowOf(gone), std::nullopt);
    EXPECT_EQ(m_list.FindBySourcePath("/a.pdf"), nullptr);
}

TEST_F(ConverterList, OneSourcePathListedTwiceIsFoundUntilBothAreGone)
{
    const CConverter* first = Add("/a.pdf");
    const CConverter* second = Add("/a.pdf");
    m_list.Take(*m_list.RowOf(first));
    EXPECT_EQ(m_list.FindBySourcePath("/a.pdf"), second);
    m_list.Take(0);
    EXPECT_EQ(m_list.FindBySourcePath("/a.pdf"), nullptr);
}

TEST_F(ConverterList, SourcePathIdentityFollowsTheRules)
{
    CConverterTable windowsTable(std::make_shared<CConverterContext>(CPathRules::Windows()));
    CConverterList windows(CPathRules::Windows());
    windows.Insert(0, windowsTable.FindConverter("C:\\Docs\\Report.pdf"));
    EXPECT_NE(windows.FindBySourcePath("c:\\DOCS\\report.PDF"), nullptr);
    EXPECT_EQ(windows.FindBySourcePath("c:\\DOCS\\report.PDF.x"), nullptr);

    Add("/Docs/Report.pdf");
    EXPECT_NE(m_list.FindBySourcePath("/Docs/Report.pdf"), nullptr);
    EXPECT_EQ(m_list.FindBySourcePath("/docs/report.pdf"), nullptr);
}

TEST_F(ConverterList, OutOfRangeRowsGiveNothing)
{
    Add("/a.pdf");
    EXPECT_EQ(m_list.At(-1), nullptr);
    EXPECT_EQ(m_list.At(1), nullptr);
    EXPECT_EQ(m_list.Take(1), nullptr);
    m_list.Insert(0, nullptr);
    EXPECT_EQ(m_list.Size(), 1);
    m_list.Clear();
    EXPECT_TRUE(m_list.Empty());
    EXPECT_EQ(m_list.FindBySourcePath("/a.pdf"), nullptr);
}

class ConverterListShapes : public ConverterList, public ::testing::WithParamInterface<PathMaker>
{
};

// Insertions and removals in random order, checked after each step against
// a plain vector kept in order by the case-insensitive comparison, with the
// bounds of texts that are listed and of texts that are not.
TEST_P(ConverterListShapes, AgreesWithAPlainSortedVector)
{
    PathMaker makePath = GetParam();
    std::mt19937 random(17);
    std::vector<const CConverter*> expected;
    for (int step = 0; step < 4000; ++step)
    {
        if (!expected.empty() && random() % 4 == 0)
        {
            auto row = static_cast<std::size_t>(random() % expected.size());
            ASSERT_EQ(m_list.Take(static_cast<int>(row)).get(), expected[row]);
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(row));
            continue;
        }
        std::string probe(m_table.FindConverter(makePath(random))->m_strTextPath);
        auto lower =
            std::partition_point(expected.begin(), expected.end(),
                                 [&](auto* each) { return CompareTexts(each, probe) < 0; });
        auto upper =
            std::partition_point(expected.begin(), expected.end(),
                                 [&](auto* each) { return CompareTexts(each, probe) <= 0; });
        ASSERT_EQ(m_list.LowerBound(probe), lower - expected.begin()) << probe;
        ASSERT_EQ(m_list.UpperBound(probe), upper - expected.begin()) << probe;
        const CConverter* added = Add(makePath(random));
        auto at = std::partition_point(expected.begin(), expected.end(),
                                       [&](auto* each)
                                       { return CompareTexts(each, added->m_strTextPath) <= 0; });
        expected.insert(at, added);
    }
    ExpectConsistent(expected);
}

INSTANTIATE_TEST_SUITE_P(PathShapes, ConverterListShapes,
                         ::testing::Values(&RandomPath, &CrowdedPath),
                         [](const auto& info)
                         { return info.param == &RandomPath ? "Scattered" : "Crowded"; });
