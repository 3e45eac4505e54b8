// The entry points around AddPath: Paste Files, Add..., Add Folder... and a
// drop, with the folder last used for adding, and failures that end an
// operation.

#include "DocFixture.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <new>

namespace
{
using Events = std::vector<std::string>;
using Paths = std::vector<std::string>;

constexpr const char* kFileOpenPath = "File Open Path";

class AddCommands : public DocFixture
{
protected:
    AddCommands() = default;
    explicit AddCommands(const CPathRules& rules) : DocFixture(rules) {}

    std::string Stored() const { return m_settings.GetString("", kFileOpenPath); }
    bool IsStored() const { return m_settings.Has("", kFileOpenPath); }
    void Store(const std::string& folder) { m_settings.SetString("", kFileOpenPath, folder); }

    CQuickTool m_tool;
};

struct StoredFolderCase
{
    const char* name;
    bool bWindows;
    std::optional<std::string> stored;
    Paths chosen;
    std::optional<std::string> written; // nothing: no write
};

void PrintTo(const StoredFolderCase& c, std::ostream* out)
{
    *out << c.name;
}

// Add... remembers the folder of the first chosen file, with its trailing
// separator, only when it names another folder than the one stored. The
// paths need not exist: the folder is remembered before anything is added.
class AddStoresFolder : public ::testing::TestWithParam<StoredFolderCase>
{
protected:
    CScriptedPrompts m_prompts;
    CMemorySettings m_settings = OneAtATime();
};

// Prompts that remove the folder being asked about, as if another program
// deleted it the moment the question came up.
class CVanishingPrompts : public CScriptedPrompts
{
public:
    int AskFolderQuestion(const std::string& question) override
    {
        int answer = CScriptedPrompts::AskFolderQuestion(question);
        std::filesystem::remove_all(m_strVanishing);
        return answer;
    }
    std::string m_strVanishing;
};

// A view that fails like an allocation that cannot be met, on the second
// file listed.
class CFailingView : public CDocObserver
{
public:
    void OnRowInserted(int) override
    {
        if (++m_nInserted == 2)
            throw std::bad_alloc();
    }
    void OnRowsRemoved(int, int) override {}
    void OnReset() override {}
    void OnFileCountChanged(int count) override { m_counts.push_back(count); }

    int m_nInserted = 0;
    std::vector<int> m_counts;
};
} // namespace

TEST_F(AddCommands, Paste_WithoutAFileListDoesNothingAndShowsNothing)
{
    m_prompts.SetClipboardFiles(std::nullopt);
    m_doc.OnEditPasteFiles();
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_TRUE(m_view.Events().empty());
}

TEST_F(AddCommands, Paste_ThreeFilesWithATextFileBetween_ListsThePdfsInTextPathOrder)
{
    std::string c = Pdf("c.pdf");
    std::string b = m_dir.Write("b.txt", "words");
    std::string a = Pdf("a.pdf");
    m_prompts.SetClipboardFiles(Paths{c, b, a});
    m_doc.OnEditPasteFiles();
    EXPECT_EQ(ListedSources(), (Paths{a, c}));
    EXPECT_EQ(MessageTexts(), (Paths{Ignored(b)}));
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1", "insert 0", "count 2"}));
}

TEST_F(AddCommands, Paste_AsksAgainAfterAnEarlierNoToAll)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    LeaveStandingFolderAnswer(FolderAnswerNoToAll);
    m_prompts.SetClipboardFiles(Paths{docs});
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_doc.OnEditPasteFiles();
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(ListedSources(), (Paths{a}));
}

TEST_F(AddCommands, Drop_AsksAgainAfterAnEarlierYesToAllAndAddsInDropOrder)
{
    std::string docs = Folder("docs");
    Pdf("docs/a.pdf");
    std::string z = Pdf("z.pdf");
    LeaveStandingFolderAnswer(FolderAnswerYesToAll);
    m_prompts.AnswerFolderNext(FolderAnswerNo);
    m_doc.OnDropFiles({z, docs});
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(ListedSources(), (Paths{z}));
    EXPECT_EQ(m_tool.Calls(), (Paths{z}));
}

TEST_F(AddCommands, Add_OffersTheFilterAndTheStoredFolder)
{
    Store("/data/docs/");
    m_doc.OnFileAdd();
    ASSERT_EQ(m_prompts.FileDialogs().size(), 1u);
    EXPECT_EQ(m_prompts.FileDialogs()[0].first, "All Valid (*.pdf)");
    EXPECT_EQ(m_prompts.FileDialogs()[0].second, "/data/docs/");
}

TEST_F(AddCommands, Add_CancelledAddsAndStoresNothing)
{
    m_doc.OnFileAdd();
    EXPECT_EQ(m_prompts.FileDialogs()[0].second, "");
    EXPECT_FALSE(IsStored());
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(AddCommands, Add_AddsTheChosenFilesKeepingTheStandingFolderAnswer)
{
    std::string b = Pdf("b.pdf");
    std::string a = Pdf("a.pdf");
    std::string docs = Folder("docs");
    Pdf("docs/c.pdf");
    m_prompts.SetChosenFiles({b, docs, a});
    LeaveStandingFolderAnswer(FolderAnswerNoToAll);
    m_doc.OnFileAdd();
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
    EXPECT_EQ(m_tool.Calls(), (Paths{b, a}));
    EXPECT_EQ(Stored(), m_dir.Path() + "/");
    EXPECT_TRUE(m_prompts.FolderQuestions().empty());
}

TEST_P(AddStoresFolder, OnlyWhenItNamesAnotherFolder)
{
    const StoredFolderCase& c = GetParam();
    const CPathRules& rules = c.bWindows ? CPathRules::Windows() : CPathRules::Posix();
    CConverterTable table(std::make_shared<CConverterContext>(&m_prompts, rules));
    CZeltoDoc doc(table, m_prompts, m_settings);
    if (c.stored)
        m_settings.SetString("", kFileOpenPath, *c.stored);
    int writesBefore = m_settings.WriteCount();
    m_prompts.SetChosenFiles(c.chosen);

    doc.OnFileAdd();

    if (c.written)
    {
        EXPECT_EQ(m_settings.WriteCount(), writesBefore + 1);
        EXPECT_EQ(m_settings.GetString("", kFileOpenPath), *c.written);
    }
    else
    {
        EXPECT_EQ(m_settings.WriteCount(), writesBefore);
    }
    EXPECT_EQ(m_prompts.FileDialogs().at(0).second, c.stored.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(
    WindowsAndPosixRules, AddStoresFolder,
    ::testing::Values(
        StoredFolderCase{"WindowsSameFolderOtherCase",
                         true,
                         "d:\\DOCS\\",
                         {"D:\\docs\\a.pdf", "D:\\docs\\b.pdf"},
                         std::nullopt},
        StoredFolderCase{"WindowsFolderWithoutSeparator",
                         true,
                         "D:\\docs",
                         {"D:\\docs\\a.pdf", "D:\\docs\\b.pdf"},
                         "D:\\docs\\"},
        StoredFolderCase{
            "WindowsNothingStored", true, std::nullopt, {"D:\\docs\\a.pdf"}, "D:\\docs\\"},
        StoredFolderCase{"WindowsFirstFileCounts",
                         true,
                         "D:\\docs\\",
                         {"E:\\other\\a.pdf", "D:\\docs\\b.pdf"},
                         "E:\\other\\"},
        StoredFolderCase{"PosixSameFolder",
                         false,
                         "/data/docs/",
                         {"/data/docs/a.pdf", "/data/docs/b.pdf"},
                         std::nullopt},
        StoredFolderCase{"PosixFolderWithoutSeparator",
                         false,
                         "/data/docs",
                         {"/data/docs/a.pdf", "/data/docs/b.pdf"},
                         "/data/docs/"},
        StoredFolderCase{
            "PosixNothingStored", false, std::nullopt, {"/data/docs/a.pdf"}, "/data/docs/"},
        // Under POSIX rules letter case makes another folder.
        StoredFolderCase{"PosixFolderInOtherCase",
                         false,
                         "/data/DOCS/",
                         {"/data/docs/a.pdf", "/data/docs/b.pdf"},
                         "/data/docs/"}),
    [](const ::testing::TestParamInfo<StoredFolderCase>& info) { return info.param.name; });

TEST_F(AddCommands, AddFolder_AnsweredNoAddsNothingButStoresTheFolder)
{
    std::string docs = Folder("docs");
    Pdf("docs/a.pdf");
    m_prompts.SetChosenFolder(docs);
    m_prompts.AnswerFolderNext(FolderAnswerNo);
    m_doc.OnFileAddFolder();
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(Stored(), docs);
}

TEST_F(AddCommands, AddFolder_AsksAboutTheChosenFolderEvenAfterAnEarlierYesToAll)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    Store("/data/last");
    m_prompts.SetChosenFolder(docs);
    LeaveStandingFolderAnswer(FolderAnswerYesToAll);
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_doc.OnFileAddFolder();
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(ListedSources(), (Paths{a}));
    EXPECT_EQ(Stored(), docs);
    ASSERT_EQ(m_prompts.FolderDialogs().size(), 1u);
    EXPECT_EQ(m_prompts.FolderDialogs()[0].first, "/data/last");
    EXPECT_EQ(m_prompts.FolderDialogs()[0].second, "Select folder from which to add files:");
}

TEST_F(AddCommands, AddFolder_CancelledStoresNothingAndKeepsTheStandingAnswer)
{
    m_prompts.SetChosenFolder(std::nullopt);
    LeaveStandingFolderAnswer(FolderAnswerNoToAll);
    m_doc.OnFileAddFolder();
    EXPECT_FALSE(IsStored());
    EXPECT_TRUE(m_prompts.FolderQuestions().empty());
    // The answer still stands for Add..., which keeps it.
    std::string docs = Folder("docs");
    Pdf("docs/a.pdf");
    m_prompts.SetChosenFiles({docs});
    m_doc.OnFileAdd();
    EXPECT_TRUE(m_prompts.FolderQuestions().empty());
    EXPECT_EQ(m_doc.RowCount(), 0);
}

TEST_F(AddCommands, FolderThatVanishesWhileAsked_EndsTheOperationWithAPlainMessage)
{
    // Also with files converting while the walk fails: those queued before
    // the failure are still listed, and the failure is told after them.
    for (int atOnce : {1, 2})
    {
        SCOPED_TRACE(atOnce);
        m_settings.SetInt("", CZeltoDoc::kConversionsAtOnce, atOnce);
        CVanishingPrompts prompts;
        CConverterTable table(std::make_shared<CConverterContext>(&prompts));
        CZeltoDoc doc(table, prompts, m_settings);
        std::string first = Pdf("first" + std::to_string(atOnce) + ".pdf");
        std::string docs = Folder("docs" + std::to_string(atOnce));
        Pdf("docs" + std::to_string(atOnce) + "/a.pdf");
        std::string last = Pdf("last" + std::to_string(atOnce) + ".pdf");
        prompts.m_strVanishing = docs;
        prompts.AnswerFolderNext(FolderAnswerYes);

        doc.OnDropFiles({first, docs, last});

        ASSERT_EQ(doc.RowCount(), 1);
        EXPECT_EQ(doc.ConverterAt(0)->m_strSourcePath, first);
        EXPECT_EQ(doc.GetFileCount(), 1);
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].ids, std::vector<EMessageId>{EMessageId::SystemError});
        EXPECT_EQ(prompts.Messages()[0].strText,
                  "The following system error occured when processing file '" + docs + "'.\n" +
                      CSystemErrorText::Describe(ENOENT) + "(Error " + std::to_string(ENOENT) +
                      ").");
        EXPECT_EQ(prompts.WaitDepth(), 0);
    }
}

TEST_F(AddCommands, FailureNoHandlerTakes_EndsTheOperationAndKeepsWhatWasAdded)
{
    CFailingView failing;
    m_doc.AddObserver(failing);
    std::string a = Pdf("a.pdf");
    std::string b = Pdf("b.pdf");
    std::string c = Pdf("c.pdf");
    m_prompts.SetClipboardFiles(Paths{a, b, c});

    m_doc.OnEditPasteFiles();
    m_doc.RemoveObserver(failing);

    // The second file was listed when the failure came; the third was never
    // started. The count caught up with the list.
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
    EXPECT_EQ(m_tool.Calls(), (Paths{a, b}));
    EXPECT_EQ(m_doc.GetFileCount(), 2);
    EXPECT_EQ(failing.m_counts, (std::vector<int>{1, 2}));
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(m_prompts.Messages()[0].strText,
              "The following system error occured when processing file '" + b + "'.\n" +
                  CSystemErrorText::Describe(ENOMEM) + "(Error " + std::to_string(ENOMEM) + ").");
    // The next operation works as ever.
    std::string d = Pdf("d.pdf");
    m_doc.OnDropFiles({d});
    EXPECT_EQ(m_doc.RowCount(), 3);
}
