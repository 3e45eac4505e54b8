// SPDX-License-Identifier: GPL-3.0-or-later
// The file list document: order, look-up, removal, deletion, Remove All and
// what views are told.

#include "DocFixture.h"

#include <random>

namespace
{
using Events = std::vector<std::string>;
using Texts = std::vector<std::string>;

// Files are listed as they are, without converting, so that only the list
// is under test.
class FileList : public DocFixture
{
protected:
    FileList() { m_table.ListWithoutConverting(true); }

    // Drops a PDF made at `name` (relative to the temporary folder) and
    // returns its listed converter, or null when it was not listed.
    const CConverter* List(const std::string& name)
    {
        std::string pdf = m_dir / name;
        if (!std::filesystem::exists(pdf))
            Pdf(name);
        m_doc.OnDropFiles({pdf});
        return CDocRows::BySource(m_doc, pdf);
    }
    Texts Relative(const Texts& texts) const
    {
        Texts relative;
        for (const std::string& text : texts)
            relative.push_back(text.substr(m_dir.Path().size() + 1));
        return relative;
    }
};
} // namespace

TEST_F(FileList, Adding_PutsEachAtItsPlaceAndTellsTheViews)
{
    List("m.pdf");
    List("z.pdf");
    List("a.pdf");
    EXPECT_EQ(Relative(ListedTexts()), (Texts{"a.txt", "m.txt", "z.txt"}));
    EXPECT_EQ(m_view.Events(),
              (Events{"insert 0", "count 1", "insert 1", "count 2", "insert 0", "count 3"}));
    EXPECT_EQ(m_doc.GetFileCount(), 3);
}

// Letters are compared without case, whole paths at once, so '-' (before
// '/') sorts a folder "a-b" before "a".
TEST_F(FileList, Order_ComparesWholePathsIgnoringLetterCase)
{
    List("a/x.pdf");
    List("a-b/x.pdf");
    List("A/Z.pdf");
    List("a/y.pdf");
    EXPECT_EQ(Relative(ListedTexts()), (Texts{"a-b/x.txt", "a/x.txt", "a/y.txt", "A/Z.txt"}));
}

// Under POSIX rules two names that differ in case are two files.
TEST_F(FileList, ListedPath_IsRecognisedByteForByte)
{
    const CConverter* listed = List("a.pdf");
    m_view.ClearEvents();
    EXPECT_EQ(List("a.pdf"), listed);
    EXPECT_TRUE(m_view.Events().empty());
    ASSERT_NE(List("A.PDF"), nullptr);
    EXPECT_EQ(m_doc.RowCount(), 2);
    m_doc.RemoveConverters({listed});
    const CConverter* again = List("a.pdf");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(m_doc.RowCount(), 2);
}

TEST_F(FileList, RemoveConverters_OfAConverterNotListedLeavesItAlone)
{
    const CConverter* listed = List("a.pdf");
    std::unique_ptr<CConverter> stranger =
        m_table.FindConverter(std::string(listed->m_strSourcePath));
    m_view.ClearEvents();
    m_doc.RemoveConverters({stranger.get(), nullptr});
    EXPECT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(m_doc.ConverterAt(0), listed);
    EXPECT_TRUE(m_view.Events().empty());
    EXPECT_EQ(stranger->m_strSourcePath, m_dir / "a.pdf");
}

TEST_F(FileList, RemoveConverters_TellsRangesFromTheBottomUpAndRecountsOnce)
{
    std::vector<const CConverter*> rows;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        rows.push_back(List(std::string(name) + ".pdf"));
    const CConverter* gone = rows[5];
    m_doc.RemoveConverters({gone});
    m_view.ClearEvents();

    // Rows 0, 1 and 3 of what is left, given out of order, one twice, and a
    // converter that is no longer listed.
    m_doc.RemoveConverters({rows[3], gone, rows[0], rows[1], rows[0]});
    EXPECT_EQ(m_view.Events(), (Events{"remove 3-3", "remove 0-1", "count 2"}));
    EXPECT_EQ(Relative(ListedTexts()), (Texts{"c.txt", "e.txt"}));
}

TEST_F(FileList, FileCountChange_IsToldOnlyWhenTheCountChanges)
{
    List("a.pdf");
    List("a.pdf");
    m_doc.RemoveConverters({});
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1"}));
}

TEST_F(FileList, RemoveAll_OnAnEmptyListResetsWithCountZero)
{
    m_doc.OnNewDocument();
    EXPECT_EQ(m_doc.GetFileCount(), 0);
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(m_view.Events(), (Events{"reset"}));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

// The standing "No to All" of the drop is still in force for Add...,
// which does not start the folder question afresh.
TEST_F(FileList, RemoveAll_EmptiesTheListTouchesNoFileAndKeepsTheFolderAnswer)
{
    std::string pdf = Pdf("a.pdf");
    std::string text = m_dir.Write("a.txt", "words");
    std::string folder = Folder("sub");
    Pdf("sub/b.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerNoToAll);
    m_doc.OnDropFiles({folder, pdf});
    m_view.ClearEvents();

    m_doc.OnNewDocument();
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(m_view.Events(), (Events{"reset", "count 0"}));
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(CTempDir::ReadFile(text), "words");

    m_doc.OnFileAdd({folder, pdf});
    EXPECT_EQ(Relative(ListedTexts()), (Texts{"a.txt"}));
    EXPECT_EQ(m_prompts.FolderQuestions().size(), 1u);
}

TEST_F(FileList, DeleteConverters_SecondUndeletable_OthersGoAndItStays)
{
    std::vector<const CConverter*> selection;
    for (const char* name : {"a", "b", "c"})
    {
        selection.push_back(List(std::string(name) + ".pdf"));
        m_dir.Write(std::string(name) + ".txt", "text");
    }
    // A folder where the text file should be cannot be deleted as a file.
    std::filesystem::remove(m_dir / "b.txt");
    Folder("b.txt");
    m_view.ClearEvents();

    m_doc.DeleteConverters(selection);

    EXPECT_FALSE(std::filesystem::exists(m_dir / "a.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "b.txt"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "c.txt"));
    for (const char* pdf : {"a.pdf", "b.pdf", "c.pdf"})
        EXPECT_TRUE(std::filesystem::exists(m_dir / pdf)) << pdf;
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    const CRecordedMessage& message = m_prompts.Messages().front();
    EXPECT_EQ(message.ids, std::vector<EMessageId>{EMessageId::DeleteFailed});
    EXPECT_EQ(message.style, EMessageStyle::InUse);
    EXPECT_EQ(message.strText, "The file '" + (m_dir / "b.txt") +
                                   "' could not be deleted.\nIt may be in use by another "
                                   "application.");
    EXPECT_EQ(ListedTexts(), (Texts{m_dir / "b.txt"}));
    EXPECT_EQ(m_view.Events(), (Events{"remove 2-2", "remove 0-0", "count 1"}));
}

TEST_F(FileList, DeleteConverters_OfATextFileAlreadyGoneIsReportedAndTheEntryStays)
{
    const CConverter* listed = List("a.pdf");
    m_doc.DeleteConverters({listed});
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::DeleteFailed});
    EXPECT_EQ(CDocRows::RowOf(m_doc, listed), 0);
}

TEST_F(FileList, DeleteConverters_OfAConverterNotListedDeletesNothing)
{
    std::string text = m_dir.Write("a.txt", "text");
    std::unique_ptr<CConverter> stranger = m_table.FindConverter(Pdf("a.pdf"));
    m_doc.DeleteConverters({stranger.get()});
    EXPECT_TRUE(std::filesystem::exists(text));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(FileList, DeleteConverters_NamingOneTwiceDeletesItOnceWithoutComplaint)
{
    const CConverter* listed = List("a.pdf");
    std::string text = m_dir.Write("a.txt", "text");
    m_doc.DeleteConverters({listed, listed});
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(text));
}

TEST_F(FileList, EveryObserverIsToldUntilItIsRemoved)
{
    CRecordingView second(m_doc);
    m_doc.AddObserver(second);
    m_doc.AddObserver(second);
    List("a.pdf");
    m_doc.RemoveObserver(second);
    List("b.pdf");
    EXPECT_EQ(second.Events(), (Events{"insert 0", "count 1"}));
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1", "insert 1", "count 2"}));
}

// Many mixed changes: a view that follows only what it is told ends with
// exactly the rows a full rebuild gives, and the rows stay sorted.
TEST_F(FileList, ViewFollowingTheChangesMatchesAFullRebuild)
{
    std::mt19937 random(7);
    std::vector<const CConverter*> listed;
    for (int step = 0; step < 3000; ++step)
    {
        int choice = static_cast<int>(random() % 10);
        if (choice < 7 || listed.empty())
        {
            std::string name = "f" + std::to_string(random() % 50) + "/n" +
                               std::to_string(random() % 1000) + (choice % 2 ? ".PDF" : ".pdf");
            const CConverter* converter = List(name);
            if (std::find(listed.begin(), listed.end(), converter) == listed.end())
                listed.push_back(converter);
        }
        else
        {
            std::shuffle(listed.begin(), listed.end(), random);
            std::size_t count = std::min<std::size_t>(listed.size(), 1 + random() % 20);
            std::vector<const CConverter*> selection(listed.end() - static_cast<long>(count),
                                                     listed.end());
            listed.resize(listed.size() - count);
            m_doc.RemoveConverters(selection);
        }
        ASSERT_TRUE(m_view.FollowsTheDoc()) << step;
    }
    Texts texts = ListedTexts();
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end(),
                               [](const std::string& a, const std::string& b)
                               { return CPathRules::CompareNoCase(a, b) < 0; }));
    EXPECT_EQ(m_doc.RowCount(), static_cast<int>(listed.size()));
}
