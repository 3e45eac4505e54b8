// The file list document: order, look-up, removal, deletion, Remove All and
// what views are told.

#include "DocFixture.h"

#include <random>

namespace
{
using Events = std::vector<std::string>;
using Texts = std::vector<std::string>;

class FileList : public DocFixture
{
protected:
    using DocFixture::DocFixture;

    // Lists a converter for `path` without converting anything.
    const CConverter* List(const std::string& path)
    {
        std::unique_ptr<CConverter> converter = m_table.FindConverter(path);
        const CConverter* listed = converter.get();
        m_doc.InsertSorted(std::move(converter));
        return listed;
    }
};

// A list under Windows rules from the start: the document takes its rules
// from the table it is given.
class WindowsDoc : public FileList
{
protected:
    WindowsDoc() : FileList(CPathRules::Windows()) {}
};
} // namespace

TEST_F(FileList, InsertSorted_PutsEachAtItsPlaceAndTellsTheViewsButDoesNotRecount)
{
    List("/d/m.pdf");
    List("/d/z.pdf");
    List("/d/a.pdf");
    EXPECT_EQ(ListedTexts(), (Texts{"/d/a.txt", "/d/m.txt", "/d/z.txt"}));
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "insert 1", "insert 0"}));
    EXPECT_EQ(m_doc.GetFileCount(), 0);
    m_doc.UpdateFileCount();
    EXPECT_EQ(m_doc.GetFileCount(), 3);
}

TEST_F(FileList, InsertSorted_OfNothingChangesNothing)
{
    EXPECT_EQ(m_doc.InsertSorted(nullptr), -1);
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_TRUE(m_view.Events().empty());
}

TEST_F(WindowsDoc, InsertSorted_ComparesWholePathsIgnoringCaseAndKeepsEqualKeysInInsertionOrder)
{
    List("D:\\a\\x.pdf");
    List("D:\\a-b\\x.pdf");
    const CConverter* lower = List("d:\\a\\y.pdf");
    List("D:\\A\\Z.pdf");
    const CConverter* upper = List("D:\\A\\Y.PDF");
    // '-' sorts before '\', and a later equal key follows the earlier one.
    EXPECT_EQ(ListedTexts(), (Texts{"D:\\a-b\\x.txt", "D:\\a\\x.txt", "d:\\a\\y.txt",
                                    "D:\\A\\Y.txt", "D:\\A\\Z.txt"}));
    EXPECT_EQ(m_doc.RowOf(lower), 2);
    EXPECT_EQ(m_doc.RowOf(upper), 3);
}

TEST_F(FileList, InsertSorted_UnderPosixRulesSortsTheSameWay)
{
    List("/a/x.pdf");
    List("/a-b/x.pdf");
    List("/A/Z.pdf");
    List("/a/y.pdf");
    EXPECT_EQ(ListedTexts(), (Texts{"/a-b/x.txt", "/a/x.txt", "/a/y.txt", "/A/Z.txt"}));
}

TEST_F(WindowsDoc, FindBySourcePath_IgnoresLetterCase)
{
    const CConverter* listed = List("d:\\docs\\a.pdf");
    EXPECT_EQ(m_doc.FindBySourcePath("D:\\DOCS\\A.PDF"), listed);
    EXPECT_EQ(m_doc.FindBySourcePath("d:\\docs\\b.pdf"), nullptr);
}

TEST_F(FileList, FindBySourcePath_IsByteExactUnderPosixRules)
{
    const CConverter* listed = List("/docs/a.pdf");
    EXPECT_EQ(m_doc.FindBySourcePath("/docs/a.pdf"), listed);
    EXPECT_EQ(m_doc.FindBySourcePath("/DOCS/A.PDF"), nullptr);
    EXPECT_EQ(m_doc.FindBySourcePath("/docs/a.pdf/"), nullptr);
    m_doc.RemoveConverter(listed);
    EXPECT_EQ(m_doc.FindBySourcePath("/docs/a.pdf"), nullptr);
}

TEST_F(FileList, RemoveConverter_GoesByIdentityNotByPath)
{
    const CConverter* first = List("/d/a.pdf");
    const CConverter* second = List("/d/a.pdf");
    m_view.ClearEvents();
    EXPECT_TRUE(m_doc.RemoveConverter(second));
    EXPECT_EQ(m_view.Events(), (Events{"remove 1-1"}));
    ASSERT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(m_doc.ConverterAt(0), first);
    EXPECT_EQ(m_doc.FindBySourcePath("/d/a.pdf"), first);
}

TEST_F(FileList, RemoveConverter_OfAConverterNotListedLeavesItAlone)
{
    List("/d/a.pdf");
    std::unique_ptr<CConverter> stranger = m_table.FindConverter("/d/a.pdf");
    EXPECT_FALSE(m_doc.RemoveConverter(stranger.get()));
    EXPECT_FALSE(m_doc.RemoveConverter(nullptr));
    EXPECT_EQ(m_doc.RowCount(), 1);
    EXPECT_EQ(stranger->m_strSourcePath, "/d/a.pdf");
}

TEST_F(FileList, RemoveConverters_TellsRangesFromTheBottomUpAndRecountsOnce)
{
    std::vector<const CConverter*> rows;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        rows.push_back(List("/d/" + std::string(name) + ".pdf"));
    m_doc.UpdateFileCount();
    const CConverter* gone = rows[5];
    m_doc.RemoveConverter(gone);
    m_view.ClearEvents();

    // Rows 0, 1 and 3 of what is left, given out of order, one twice, and a
    // converter that is no longer listed.
    m_doc.RemoveConverters({rows[3], gone, rows[0], rows[1], rows[0]});
    EXPECT_EQ(m_view.Events(), (Events{"remove 3-3", "remove 0-1", "count 2"}));
    EXPECT_EQ(ListedTexts(), (Texts{"/d/c.txt", "/d/e.txt"}));
}

TEST_F(FileList, FileCountChange_IsToldOnlyWhenTheCountChanges)
{
    List("/d/a.pdf");
    m_doc.UpdateFileCount();
    m_doc.UpdateFileCount();
    m_doc.RemoveConverters({});
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1"}));
}

TEST_F(FileList, RemoveAll_OnAnEmptyListSucceedsWithCountZero)
{
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(m_doc.GetFileCount(), 0);
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(m_view.Events(), (Events{"reset"}));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(FileList, RemoveAll_EmptiesTheListTouchesNoFileAndKeepsTheFolderAnswer)
{
    std::string pdf = Pdf("a.pdf");
    std::string text = m_dir.Write("a.txt", "words");
    List(pdf);
    m_doc.UpdateFileCount();
    m_doc.FolderPromptState = FolderPromptNoToAll;
    m_view.ClearEvents();

    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(m_view.Events(), (Events{"reset", "count 0"}));
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(CTempDir::ReadFile(text), "words");
    EXPECT_EQ(m_doc.FolderPromptState, FolderPromptNoToAll);
    EXPECT_EQ(m_doc.FindBySourcePath(pdf), nullptr);
}

TEST_F(FileList, DeleteConverters_SecondUndeletable_OthersGoAndItStays)
{
    std::vector<const CConverter*> selection;
    for (const char* name : {"a", "b", "c"})
    {
        selection.push_back(List(Pdf(std::string(name) + ".pdf")));
        m_dir.Write(std::string(name) + ".txt", "text");
    }
    m_doc.UpdateFileCount();
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

TEST_F(FileList, DeleteConverter_OfATextFileAlreadyGoneIsReportedAndTheEntryStays)
{
    const CConverter* listed = List(Pdf("a.pdf"));
    EXPECT_FALSE(m_doc.DeleteConverter(listed));
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::DeleteFailed});
    EXPECT_EQ(m_doc.RowOf(listed), 0);
}

TEST_F(FileList, DeleteConverter_OfAConverterNotListedDeletesNothing)
{
    std::string text = m_dir.Write("a.txt", "text");
    std::unique_ptr<CConverter> stranger = m_table.FindConverter(Pdf("a.pdf"));
    EXPECT_FALSE(m_doc.DeleteConverter(stranger.get()));
    m_doc.DeleteConverters({stranger.get()});
    EXPECT_TRUE(std::filesystem::exists(text));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(FileList, DeleteConverters_NamingOneTwiceDeletesItOnceWithoutComplaint)
{
    const CConverter* listed = List(Pdf("a.pdf"));
    m_dir.Write("a.txt", "text");
    m_doc.DeleteConverters({listed, listed});
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(FileList, DeleteConverter_DeletesTheTextFileAndRemovesTheEntry)
{
    const CConverter* listed = List(Pdf("a.pdf"));
    std::string text = m_dir.Write("a.txt", "text");
    EXPECT_TRUE(m_doc.DeleteConverter(listed));
    EXPECT_FALSE(std::filesystem::exists(text));
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(FileList, EveryObserverIsToldUntilItIsRemoved)
{
    CRecordingView second(m_doc);
    m_doc.AddObserver(second);
    m_doc.AddObserver(second);
    List("/d/a.pdf");
    m_doc.RemoveObserver(second);
    List("/d/b.pdf");
    EXPECT_EQ(second.Events(), (Events{"insert 0"}));
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "insert 1"}));
}

TEST_F(FileList, UpdateAllViews_AsksForAFullRebuild)
{
    List("/d/a.pdf");
    m_view.ClearEvents();
    m_doc.UpdateAllViews();
    EXPECT_EQ(m_view.Events(), (Events{"reset"}));
}

TEST_F(FileList, AddFileFilter_OffersOneEntryThatDialogsUnderstand)
{
    EXPECT_EQ(m_doc.AddFileFilter(), "All Valid (*.pdf)");
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
            std::string name = "/f" + std::to_string(random() % 50) + "/n" +
                               std::to_string(random() % 1000) + (choice % 2 ? ".PDF" : ".pdf");
            listed.push_back(List(name));
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
