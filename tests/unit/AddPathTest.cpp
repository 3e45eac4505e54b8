// SPDX-License-Identifier: GPL-3.0-or-later
// Adding one path: files, folders with the four-button question, links,
// deep and wide trees. Drops stand in for every entry point here.

#include "DocFixture.h"
#include "PdfMaker.h"
#include "SystemSkip.h"

namespace
{
using Events = std::vector<std::string>;
using Paths = std::vector<std::string>;

class AddingFiles : public DocFixture
{
protected:
    AddingFiles() = default;
    explicit AddingFiles(const CPathRules& rules) : DocFixture(rules) {}

    void Drop(const Paths& paths) { m_doc.OnDropFiles(paths); }

    CQuickTool m_tool;
};

class AddingFilesWindowsRules : public AddingFiles
{
protected:
    AddingFilesWindowsRules() : AddingFiles(CPathRules::Windows()) {}
};

struct FolderAnswerCase
{
    const char* name;
    int answer;
    bool added;
    // What the answer does to a folder met later by Add..., which keeps
    // the standing answer: asked about again, or added or passed over
    // without asking.
    bool laterAsked;
    bool laterAdded;
};

void PrintTo(const FolderAnswerCase& c, std::ostream* out)
{
    *out << c.name;
}

class FolderAnswer : public AddingFiles, public ::testing::WithParamInterface<FolderAnswerCase>
{
};
} // namespace

TEST_F(AddingFiles, NewPdf_IsConvertedListedAndCounted)
{
    std::string pdf = Pdf("a.pdf");
    Drop({pdf});
    EXPECT_EQ(ListedSources(), (Paths{pdf}));
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "a.txt"), "Text of a.pdf\n");
    EXPECT_EQ(m_doc.GetFileCount(), 1);
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1"}));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(AddingFiles, DropOfListedFile_DoesNothing)
{
    std::string pdf = Pdf("a.pdf");
    Drop({pdf});
    m_view.ClearEvents();
    Drop({pdf});
    EXPECT_EQ(m_tool.Calls().size(), 1u);
    EXPECT_TRUE(m_view.Events().empty());
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(AddingFiles, DropOfListedFileInOtherCase_IsAnotherFileUnderPosixRules)
{
    SKIP_ON_WINDOWS("a Windows file system holds no two names that differ only in case");
    std::string lower = Pdf("a.pdf");
    std::string upper = Pdf("A.PDF");
    Drop({lower, upper});
    EXPECT_EQ(ListedSources(), (Paths{lower, upper}));
    EXPECT_EQ(m_tool.Calls().size(), 2u);
}

TEST_F(AddingFilesWindowsRules, DropOfListedFileInAnyCase_DoesNothing)
{
    std::string lower = Pdf("a.pdf");
    std::string upper = Pdf("A.PDF");
    Drop({lower});
    Drop({upper});
    EXPECT_EQ(ListedSources(), (Paths{lower}));
    EXPECT_EQ(m_tool.Calls().size(), 1u);
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(AddingFiles, MissingPath_IsPassedOverInSilence)
{
    Drop({m_dir / "nowhere.pdf", m_dir / "no/folder", ""});
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_TRUE(m_tool.Calls().empty());
}

// A link to nowhere is a path that no longer exists. One that cannot even be
// followed is something that cannot be examined: it goes on as a file, and
// the file's own checks tell why it is not added.
TEST_F(AddingFiles, EntryThatCannotBeExamined_IsToldAsAFileThatCannotBeOpened)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    std::filesystem::create_symlink(m_dir / "nowhere.pdf", docs + "/dangling.pdf");
    std::filesystem::create_symlink("loop.pdf", docs + "/loop.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    EXPECT_EQ(ListedSources(), (Paths{a}));
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].ids,
              (std::vector<EMessageId>{EMessageId::FileIgnored, EMessageId::FileInUse}));
    EXPECT_EQ(m_prompts.Messages()[0].strText.rfind(Ignored(docs + "/loop.pdf"), 0), 0u);
}

TEST_F(AddingFiles, FileNoConverterTakes_IsIgnoredByItsFullPath)
{
    std::string doc = m_dir.Write("readme.doc", "words");
    Drop({doc});
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].strText, Ignored(doc));
    EXPECT_EQ(m_prompts.Messages()[0].style, EMessageStyle::InUse);
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(AddingFiles, ConversionGivenUp_IsNotListed)
{
    std::string broken = BrokenPdf("broken.pdf");
    std::string good = Pdf("good.pdf");
    Drop({broken, good});
    EXPECT_EQ(ListedSources(), (Paths{good}));
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::ExtractionFailed});
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1"}));
}

TEST_F(AddingFiles, ExistingTextFileKeptOnNo_IsNotListed)
{
    std::string pdf = Pdf("a.pdf");
    m_dir.Write("a.txt", "old words");
    m_prompts.AnswerNext(EAnswer::No);
    Drop({pdf});
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "a.txt"), "old words");
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::OverwriteQuestion});
}

TEST_P(FolderAnswer, DecidesAndSetsTheStandingAnswer)
{
    const FolderAnswerCase& c = GetParam();
    std::string folder = Folder("docs");
    std::string pdf = Pdf("docs/a.pdf");
    m_prompts.AnswerFolderNext(c.answer);
    Drop({folder});
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(folder)}));
    EXPECT_EQ(ListedSources(), c.added ? Paths{pdf} : Paths{});

    std::string later = Folder("later");
    std::string laterPdf = Pdf("later/b.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerNo);
    m_doc.OnFileAdd({later});
    EXPECT_EQ(m_prompts.FolderQuestions().size(), c.laterAsked ? 2u : 1u);
    EXPECT_EQ(m_doc.RowCount(), (c.added ? 1 : 0) + (c.laterAdded ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    EveryAnswer, FolderAnswer,
    ::testing::Values(FolderAnswerCase{"Yes", FolderAnswerYes, true, true, false},
                      FolderAnswerCase{"YesToAll", FolderAnswerYesToAll, true, false, true},
                      FolderAnswerCase{"No", FolderAnswerNo, false, true, false},
                      FolderAnswerCase{"NoToAll", FolderAnswerNoToAll, false, false, false},
                      FolderAnswerCase{"NotShown", FolderAnswerFailed, false, true, false},
                      FolderAnswerCase{"Unknown", 7, false, true, false}),
    [](const ::testing::TestParamInfo<FolderAnswerCase>& info) { return info.param.name; });

TEST_F(AddingFiles, Yes_AddsTheFolderAndAsksAgainForEachSubfolder)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    Pdf("docs/old/b.pdf");
    std::string c = Pdf("docs/z/c.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_prompts.AnswerFolderNext(FolderAnswerNo);
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    EXPECT_EQ(m_prompts.FolderQuestions(),
              (Paths{Question(docs), Question(docs + "/old"), Question(docs + "/z")}));
    EXPECT_EQ(ListedSources(), (Paths{a, c}));
}

TEST_F(AddingFiles, YesToAll_AddsEveryDepthAndEveryFolderOfTheDropWithoutAsking)
{
    std::string docs = Folder("docs");
    std::string other = Folder("other");
    Pdf("docs/a.pdf");
    Pdf("docs/old/older/b.pdf");
    Pdf("other/c.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    Drop({docs, other});
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(m_doc.RowCount(), 3);
}

TEST_F(AddingFiles, NoToAll_SkipsEveryFurtherFolderButNotTheFilesAlongside)
{
    std::string docs = Folder("docs");
    std::string other = Folder("other");
    Pdf("docs/a.pdf");
    Pdf("other/b.pdf");
    std::string loose = Pdf("loose.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerNoToAll);
    Drop({docs, other, loose});
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(ListedSources(), (Paths{loose}));
}

TEST_F(AddingFiles, NoToAllInsideAFolder_StopsTheRestOfTheDrop)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    Pdf("docs/sub/b.pdf");
    Pdf("docs/sub2/c.pdf");
    std::string other = Folder("other");
    Pdf("other/d.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_prompts.AnswerFolderNext(FolderAnswerNoToAll);
    Drop({docs, other});
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs), Question(docs + "/sub")}));
    EXPECT_EQ(ListedSources(), (Paths{a}));
}

TEST_F(AddingFiles, DocInsideAFolder_IsIgnoredByItsFullPathAndThePdfsAreStillAdded)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    std::string readme = m_dir.Write("docs/readme.doc", "words");
    std::string b = Pdf("docs/z.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    EXPECT_EQ(MessageTexts(), (Paths{Ignored(readme)}));
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
}

TEST_F(AddingFiles, ListedFolderAddedAgain_SkipsPdfsSilentlyAndReportsEachTextFile)
{
    std::string docs = Folder("docs");
    Pdf("docs/a.pdf");
    Pdf("docs/b.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    // The text files made while walking were not met the first time.
    EXPECT_TRUE(m_prompts.Messages().empty());

    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    EXPECT_EQ(m_tool.Calls().size(), 2u);
    EXPECT_EQ(MessageTexts(), (Paths{Ignored(docs + "/a.txt"), Ignored(docs + "/b.txt")}));
    EXPECT_EQ(m_doc.RowCount(), 2);
}

TEST_F(AddingFiles, EmptyFolder_AsksAndThenAddsAndShowsNothing)
{
    std::string empty = Folder("empty");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({empty});
    EXPECT_EQ(m_prompts.FolderQuestions().size(), 1u);
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(AddingFiles, HiddenEntries_AreAddedLikeAnyOther)
{
    std::string docs = Folder("docs");
    std::string hidden = Pdf("docs/.hidden.pdf");
    std::string inside = Pdf("docs/.cache/inside.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    Drop({docs});
    EXPECT_EQ(ListedSources(), (Paths{inside, hidden}));
}

TEST_F(AddingFiles, SymlinkLoop_IsNotWalkedRound)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    std::string b = Pdf("docs/sub/b.pdf");
    std::filesystem::create_directory_symlink(docs, docs + "/loop");
    std::filesystem::create_directory_symlink("..", docs + "/sub/up");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({docs});
    // The links back are passed over without a question.
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs), Question(docs + "/sub")}));
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
}

TEST_F(AddingFiles, SymlinkLoop_UnderYesToAllEndsToo)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
    std::string docs = Folder("docs");
    Pdf("docs/a.pdf");
    std::filesystem::create_directory_symlink(docs, docs + "/loop");
    std::filesystem::create_directory_symlink(docs + "/loop", docs + "/loop2");
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    Drop({docs});
    EXPECT_EQ(m_doc.RowCount(), 1);
}

TEST_F(AddingFiles, LinksToFilesAndToOtherFolders_AreFollowed)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
    std::string docs = Folder("docs");
    std::string real = Pdf("elsewhere/real.pdf");
    Pdf("shared/c.pdf");
    std::filesystem::create_symlink(real, docs + "/link.pdf");
    std::filesystem::create_directory_symlink(m_dir / "shared", docs + "/shared");
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    Drop({docs});
    EXPECT_EQ(ListedSources(), (Paths{docs + "/link.pdf", docs + "/shared/c.pdf"}));
    EXPECT_TRUE(std::filesystem::exists(docs + "/link.txt"));
}

TEST_F(AddingFiles, TreeThirtyLevelsDeep_IsAddedToTheBottom)
{
    std::string level = "deep";
    for (int depth = 0; depth < 30; ++depth)
    {
        Pdf(level + "/f" + std::to_string(depth) + ".pdf");
        level += "/d" + std::to_string(depth);
    }
    for (int depth = 0; depth < 30; ++depth)
        m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({m_dir / "deep"});
    EXPECT_EQ(m_doc.RowCount(), 30);
    EXPECT_EQ(m_prompts.FolderQuestions().size(), 30u);
    EXPECT_EQ(m_doc.GetFileCount(), 30);
}

TEST_F(AddingFiles, FolderOf2000Files_AddsEveryOneInTextPathOrder)
{
    std::string many = Folder("many");
    for (int i = 0; i < 2000; ++i)
        Pdf("many/File" + std::to_string(i * 7919 % 2000) + ".pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({many});
    ASSERT_EQ(m_doc.RowCount(), 2000);
    EXPECT_EQ(m_doc.GetFileCount(), 2000);
    Paths texts = ListedTexts();
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end(),
                               [](const std::string& a, const std::string& b)
                               { return CPathRules::CompareNoCase(a, b) < 0; }));
    EXPECT_TRUE(m_prompts.Messages().empty());
}

TEST_F(AddingFiles, LongPaths_ArriveWhole)
{
    std::string name(120, 'n');
    std::string relative = name + "/" + name + "/" + name + "/" + name + "/a.pdf";
    std::string pdf = Pdf(relative);
    ASSERT_GT(pdf.size(), 500u);
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    Drop({m_dir / name});
    EXPECT_EQ(ListedSources(), (Paths{pdf}));
    EXPECT_EQ(m_doc.ConverterAt(0)->m_strTextPath, pdf.substr(0, pdf.size() - 3) + "txt");
}

TEST_F(AddingFiles, FileWhoseNameEndsInPdfButIsAFolder_IsWalkedNotConverted)
{
    std::string odd = Folder("odd.pdf");
    std::string inside = Pdf("odd.pdf/in.pdf");
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    Drop({odd});
    EXPECT_EQ(ListedSources(), (Paths{inside}));
}

// The real pdftotext on real PDFs, through the whole add.
class AddingRealPdfs : public DocFixture
{
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        if (RealToolMissingOnWindows())
            GTEST_SKIP() << "no pdftotext.exe on PATH";
    }
};

TEST_F(AddingRealPdfs, FolderOfPdfs_ListedWithTheirWords)
{
    std::string docs = Folder("docs");
    CPdfMaker::Write(docs + "/first.pdf", {"Alpha words here"});
    CPdfMaker::Write(m_dir.MakeFolder("docs/sub") + "/second.pdf", {"Beta words"});
    CPdfMaker::Write(docs + "/blank.pdf", {""});
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    m_doc.OnDropFiles({docs});
    EXPECT_EQ(ListedSources(),
              (Paths{docs + "/blank.pdf", docs + "/first.pdf", docs + "/sub/second.pdf"}));
    EXPECT_NE(CTempDir::ReadFile(docs + "/first.txt").find("Alpha words here"), std::string::npos);
    EXPECT_NE(CTempDir::ReadFile(docs + "/sub/second.txt").find("Beta words"), std::string::npos);
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::NoTextExtracted});
}

TEST_F(AddingRealPdfs, FileThatIsNotReallyAPdf_IsDroppedWithTheToolsReport)
{
    std::string fake = m_dir.Write("fake.pdf", "not a pdf at all");
    std::string real = m_dir / "real.pdf";
    CPdfMaker::Write(real, {"Gamma"});
    m_doc.OnDropFiles({fake, real});
    EXPECT_EQ(ListedSources(), (Paths{real}));
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::ExtractionFailed});
}
