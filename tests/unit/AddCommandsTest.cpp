// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points around AddPath: Paste Files, Add..., Add Folder... and a
// drop, with the folder last used for adding, folders that cannot be read,
// and failures that end an operation.

#include "DocFixture.h"
#include "LockedFolder.h"
#include "SystemSkip.h"
#include "platform/MessageTable.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <functional>
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

// Prompts that run a hook the moment the folder question about one folder
// comes up, as if another program acted just then.
class CFolderQuestionHook : public CScriptedPrompts
{
public:
    int AskFolderQuestion(const std::string& question) override
    {
        int answer = CScriptedPrompts::AskFolderQuestion(question);
        if (question == CMessageTable::Format(EMessageId::AddFolderQuestion, {m_strFolder}))
            m_onAsked();
        return answer;
    }
    std::string m_strFolder;
    std::function<void()> m_onAsked;
};

// A drop of the folders A (a1.pdf, locked/hidden.pdf, z.pdf) and B (b1.pdf)
// and the file loose.pdf, each folder answered Yes, with one folder that
// cannot be read. Paths are relative to the test's folder; in `seen`,
// "ask X" is the question about X and "told" the message about the locked
// folder.
struct UnreadableFolderCase
{
    const char* name;
    const char* locked;
    Paths listed;
    Paths seen;
};

void PrintTo(const UnreadableFolderCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnreadableFolder : public AddCommands,
                         public ::testing::WithParamInterface<UnreadableFolderCase>
{
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
    m_doc.OnEditPasteFiles({});
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_TRUE(m_view.Events().empty());
}

TEST_F(AddCommands, Paste_ThreeFilesWithATextFileBetween_ListsThePdfsInTextPathOrder)
{
    std::string c = Pdf("c.pdf");
    std::string b = m_dir.Write("b.txt", "words");
    std::string a = Pdf("a.pdf");
    m_doc.OnEditPasteFiles(Paths{c, b, a});
    EXPECT_EQ(ListedSources(), (Paths{a, c}));
    EXPECT_EQ(MessageTexts(), (Paths{Ignored(b)}));
    EXPECT_EQ(m_view.Events(), (Events{"insert 0", "count 1", "insert 0", "count 2"}));
}

TEST_F(AddCommands, Paste_AsksAgainAfterAnEarlierNoToAll)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    LeaveStandingFolderAnswer(FolderAnswerNoToAll);
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_doc.OnEditPasteFiles(Paths{docs});
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

TEST_F(AddCommands, Add_CancelledAddsAndStoresNothing)
{
    m_doc.OnFileAdd({});
    EXPECT_FALSE(IsStored());
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(m_prompts.ConversionEnds(), 0);
}

TEST_F(AddCommands, Add_AddsTheChosenFilesKeepingTheStandingFolderAnswer)
{
    std::string b = Pdf("b.pdf");
    std::string a = Pdf("a.pdf");
    std::string docs = Folder("docs");
    Pdf("docs/c.pdf");
    LeaveStandingFolderAnswer(FolderAnswerNoToAll);
    m_doc.OnFileAdd({b, docs, a});
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
    EXPECT_EQ(m_tool.Calls(), (Paths{b, a}));
    EXPECT_EQ(Stored(), m_dir.Path() + "/");
    EXPECT_TRUE(m_prompts.FolderQuestions().empty());
}

TEST_P(AddStoresFolder, OnlyWhenItNamesAnotherFolder)
{
    const StoredFolderCase& c = GetParam();
    const CPathRules& rules = c.bWindows ? CPathRules::Windows() : CPathRules::Posix();
    CConverterTable table(std::make_shared<CConverterContext>(rules));
    CZeltoDoc doc(table, m_prompts, m_prompts, m_settings);
    if (c.stored)
        m_settings.SetString("", kFileOpenPath, *c.stored);
    int writesBefore = m_settings.WriteCount();

    doc.OnFileAdd(c.chosen);

    if (c.written)
    {
        EXPECT_EQ(m_settings.WriteCount(), writesBefore + 1);
        EXPECT_EQ(m_settings.GetString("", kFileOpenPath), *c.written);
    }
    else
    {
        EXPECT_EQ(m_settings.WriteCount(), writesBefore);
    }
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
    m_prompts.AnswerFolderNext(FolderAnswerNo);
    m_doc.OnFileAddFolder(docs);
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(m_doc.RowCount(), 0);
    EXPECT_EQ(Stored(), docs);
}

TEST_F(AddCommands, AddFolder_AsksAboutTheChosenFolderEvenAfterAnEarlierYesToAll)
{
    std::string docs = Folder("docs");
    std::string a = Pdf("docs/a.pdf");
    Store("/data/last");
    LeaveStandingFolderAnswer(FolderAnswerYesToAll);
    m_prompts.AnswerFolderNext(FolderAnswerYes);
    m_doc.OnFileAddFolder(docs);
    EXPECT_EQ(m_prompts.FolderQuestions(), (Paths{Question(docs)}));
    EXPECT_EQ(ListedSources(), (Paths{a}));
    EXPECT_EQ(Stored(), docs);
}

TEST_P(UnreadableFolder, IsToldOnceWhenMetAndTheRestOfTheDropIsAdded)
{
    SKIP_ON_WINDOWS("Wine does not enforce the rights of a folder");
    const UnreadableFolderCase& c = GetParam();
    Pdf("A/a1.pdf");
    Pdf("A/locked/hidden.pdf");
    Pdf("A/z.pdf");
    Pdf("B/b1.pdf");
    Pdf("loose.pdf");
    for (int i = 0; i < 3; ++i)
        m_prompts.AnswerFolderNext(FolderAnswerYes);
    {
        CLockedFolder locked(m_dir / c.locked);
        m_doc.OnDropFiles({m_dir / "A", m_dir / "B", m_dir / "loose.pdf"});
    }
    Paths listed;
    for (const std::string& path : c.listed)
        listed.push_back(m_dir / path);
    EXPECT_EQ(ListedSources(), listed);
    Events seen;
    for (const std::string& event : c.seen)
        seen.push_back(event == "told" ? "message 59510"
                                       : "folder " + Question(m_dir / event.substr(4)));
    EXPECT_EQ(m_prompts.Events(), seen);
    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    EXPECT_EQ(
        m_prompts.Messages()[0].strText,
        CMessageTable::Format(EMessageId::FolderUnreadable,
                              {m_dir / c.locked, CSystemErrorText::Describe(EACCES), EACCES}));
}

INSTANTIATE_TEST_SUITE_P(
    SubfolderOrTopFolder, UnreadableFolder,
    ::testing::Values(UnreadableFolderCase{"Subfolder",
                                           "A/locked",
                                           {"A/a1.pdf", "A/z.pdf", "B/b1.pdf", "loose.pdf"},
                                           {"ask A", "ask A/locked", "told", "ask B"}},
                      UnreadableFolderCase{
                          "TopFolderOfTheDrop",
                          "B",
                          {"A/a1.pdf", "A/locked/hidden.pdf", "A/z.pdf", "loose.pdf"},
                          {"ask A", "ask A/locked", "ask B", "told"}}),
    [](const ::testing::TestParamInfo<UnreadableFolderCase>& info) { return info.param.name; });

// A folder that is gone holds nothing to add and nothing to put right, so it
// is passed over as quietly as any path that no longer exists, whether it
// went before it was looked at or just after. The rest goes on, also with
// files converting meanwhile.
TEST_F(AddCommands, FolderThatVanishesWhileAsked_IsPassedOverInSilence)
{
    int runs = 0;
    for (int atOnce : {1, 2})
    {
        for (const std::string vanishing : {"docs", "docs/sub"})
        {
            std::string run = "run" + std::to_string(++runs) + "/";
            SCOPED_TRACE(vanishing + " at once " + std::to_string(atOnce));
            m_settings.SetInt("", CAddOptions::kConversionsAtOnce, atOnce);
            CFolderQuestionHook prompts;
            CConverterTable table(std::make_shared<CConverterContext>());
            CZeltoDoc doc(table, prompts, prompts, m_settings);
            std::string first = Pdf(run + "first.pdf");
            std::string a = Pdf(run + "docs/a.pdf");
            Pdf(run + "docs/sub/s.pdf");
            std::string z = Pdf(run + "docs/z.pdf");
            std::string last = Pdf(run + "last.pdf");
            prompts.m_strFolder = m_dir / (run + vanishing);
            prompts.m_onAsked = [&] { std::filesystem::remove_all(prompts.m_strFolder); };
            prompts.AnswerFolderNext(FolderAnswerYes);
            prompts.AnswerFolderNext(FolderAnswerYes);

            doc.OnDropFiles({first, m_dir / (run + "docs"), last});

            Paths listed = vanishing == "docs" ? Paths{first, last} : Paths{a, z, first, last};
            EXPECT_EQ(CDocRows::Sources(doc), listed);
            EXPECT_EQ(doc.GetFileCount(), static_cast<int>(listed.size()));
            EXPECT_TRUE(prompts.Messages().empty());
        }
    }
}

TEST_F(AddCommands, MemoryRunningOutDuringTheWalk_EndsTheOperationWithAPlainMessage)
{
    // Also with files converting when it happens: those queued before it
    // are still listed, and it is told after them.
    for (int atOnce : {1, 2})
    {
        SCOPED_TRACE(atOnce);
        m_settings.SetInt("", CAddOptions::kConversionsAtOnce, atOnce);
        CFolderQuestionHook prompts;
        CConverterTable table(std::make_shared<CConverterContext>());
        CZeltoDoc doc(table, prompts, prompts, m_settings);
        std::string first = Pdf("first" + std::to_string(atOnce) + ".pdf");
        std::string docs = Folder("docs" + std::to_string(atOnce));
        Pdf("docs" + std::to_string(atOnce) + "/a.pdf");
        std::string last = Pdf("last" + std::to_string(atOnce) + ".pdf");
        prompts.m_strFolder = docs;
        prompts.m_onAsked = [] { throw std::bad_alloc(); };
        prompts.AnswerFolderNext(FolderAnswerYes);

        doc.OnDropFiles({first, docs, last});

        EXPECT_EQ(CDocRows::Sources(doc), Paths{first});
        EXPECT_EQ(doc.GetFileCount(), 1);
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].ids, std::vector<EMessageId>{EMessageId::SystemError});
        EXPECT_EQ(prompts.Messages()[0].strText,
                  "The following system error occured when processing file '" + docs + "'.\n" +
                      CSystemErrorText::Describe(CSystemErrorText::OutOfMemoryCode()) + "(Error " +
                      std::to_string(CSystemErrorText::OutOfMemoryCode()) + ").");
    }
}

TEST_F(AddCommands, FailureNoHandlerTakes_EndsTheOperationAndKeepsWhatWasAdded)
{
    CFailingView failing;
    m_doc.AddObserver(failing);
    std::string a = Pdf("a.pdf");
    std::string b = Pdf("b.pdf");
    std::string c = Pdf("c.pdf");

    m_doc.OnEditPasteFiles(Paths{a, b, c});
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
                  CSystemErrorText::Describe(CSystemErrorText::OutOfMemoryCode()) + "(Error " +
                  std::to_string(CSystemErrorText::OutOfMemoryCode()) + ").");
    // The next operation works as ever.
    std::string d = Pdf("d.pdf");
    m_doc.OnDropFiles({d});
    EXPECT_EQ(m_doc.RowCount(), 3);
}
