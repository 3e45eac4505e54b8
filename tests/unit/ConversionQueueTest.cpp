// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc/ConversionQueue.h"
#include "DocFixture.h"
#include "FakeTool.h"
#include "SystemSkip.h"
#include "doc/AddReport.h"
#include "extract/OverwriteQuestion.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>
#include <thread>

namespace
{
using Paths = std::vector<std::string>;

// Adds through the document with several conversions at once: the fake tool
// describes each file's run in files beside it.
class ParallelAdd : public DocFixture
{
protected:
    CFakeTool m_tool;

    // No stored setting, as on a first run: the count comes from the cores.
    ParallelAdd() { m_settings = CMemorySettings(); }

    void SetParallel(int count) { m_settings.SetInt("", CAddOptions::kConversionsAtOnce, count); }

    // A PDF whose run reports `report`, writes `text` and takes `seconds`.
    std::string Pdf(const std::string& name, const std::string& report = "",
                    const std::string& text = "Some text\n", double seconds = 0)
    {
        std::string path = m_dir.Write(name, "%PDF fake");
        CFakeTool::Script(path, report, text);
        if (seconds > 0)
            m_dir.Write(name + ".sleep", std::to_string(seconds));
        return path;
    }

    // For files whose text file is not there yet.
    class CNoQuestion : public COverwriteQuestion
    {
        CAnswer AskOverwrite(std::string_view) override
        {
            ADD_FAILURE() << "no text file to overwrite";
            return {};
        }
    } m_noQuestion;
};

std::string Warning(const std::string& what)
{
    return "Syntax Warning: " + what + " (continuing anyway)\n";
}

// Messages and new rows in the one order the person sees them, each named
// after the first of `names` in its text or row.
class CTimeline : public CDocObserver
{
public:
    CTimeline(const CZeltoDoc& doc, const CScriptedPrompts& prompts, Paths names)
        : m_doc(doc), m_prompts(prompts), m_names(std::move(names))
    {
    }

    void OnRowInserted(int row) override
    {
        Catch();
        m_events.push_back("listed " +
                           NameIn(std::string(m_doc.ConverterAt(row)->m_strSourcePath)));
    }
    void OnRowsRemoved(int, int) override {}
    void OnReset() override {}
    void OnFileCountChanged(int) override {}

    Paths Events()
    {
        Catch();
        return m_events;
    }

private:
    void Catch()
    {
        for (; m_nSeen < m_prompts.Messages().size(); ++m_nSeen)
        {
            const CRecordedMessage& message = m_prompts.Messages()[m_nSeen];
            m_events.push_back(std::to_string(static_cast<int>(message.ids.front())) + " " +
                               NameIn(message.strText));
        }
    }
    std::string NameIn(const std::string& text) const
    {
        for (const std::string& name : m_names)
        {
            if (text.find(name) != std::string::npos)
                return name;
        }
        return "?";
    }

    const CZeltoDoc& m_doc;
    const CScriptedPrompts& m_prompts;
    Paths m_names;
    std::size_t m_nSeen = 0;
    Paths m_events;
};
} // namespace

TEST_F(ParallelAdd, RandomDelays_MessagesInQueueOrderAndRowsInTextOrder)
{
    SetParallel(4);
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> delay(0.0, 0.25);
    // Dropped in this order; the names sort differently.
    Paths dropped;
    std::vector<std::string> expected;
    for (int i = 0; i < 12; ++i)
    {
        std::string name = "f" + std::to_string((i * 7) % 12) + ".pdf";
        std::string report;
        std::string text = "text\n";
        if (i % 4 == 1)
            report = Warning("odd object " + std::to_string(i));
        if (i == 6)
            report = "Syntax Error: broken file\n";
        if (i == 9)
            text = "\f\f";
        dropped.push_back(Pdf(name, report, text, delay(random)));
        if (i == 6)
            CFakeTool::EndWith(dropped.back(), 1);
        if (!report.empty())
            expected.push_back(report.substr(0, report.size() - 1));
        if (i == 9)
            expected.push_back("Text was not extracted");
    }

    m_doc.OnDropFiles(dropped);

    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_NE(texts[i].find(expected[i]), std::string::npos) << i << ": " << texts[i];
    Paths listed = ListedSources();
    EXPECT_EQ(listed.size(), 11u);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(m_doc.GetFileCount(), 11);
    EXPECT_EQ(m_prompts.ConversionEnds(), 1);
}

TEST_F(ParallelAdd, RunsOverlapUpToTheLimit)
{
    SetParallel(2);
    std::string a = Pdf("a.pdf");
    std::string b = Pdf("b.pdf");
    // a's run only ends once b's has started: with one run at a time it
    // would report that it ran alone.
    m_dir.Write("a.pdf.await", b + ".started");
    m_doc.OnDropFiles({a, b});
    EXPECT_TRUE(m_prompts.Messages().empty()) << m_prompts.Messages()[0].strText;
    EXPECT_EQ(ListedSources(), (Paths{a, b}));
}

TEST_F(ParallelAdd, OneAtATime_SameMessagesInTheSameOrderAsConvertingEachInTurn)
{
    auto scenario = [this](const std::string& folder)
    {
        m_dir.MakeFolder(folder);
        Paths paths;
        paths.push_back(Pdf(folder + "/a.pdf", Warning("first")));
        paths.push_back(m_dir.Write(folder + "/notes.doc", "not a pdf"));
        paths.push_back(Pdf(folder + "/b.pdf", "Syntax Error: bad\n"));
        CFakeTool::EndWith(paths.back(), 1);
        m_dir.Write(folder + "/c.txt", "old");
        paths.push_back(Pdf(folder + "/c.pdf", "", "\n"));
        paths.push_back(Pdf(folder + "/d.pdf", Warning("last")));
        return paths;
    };

    // Each file dropped on its own, converted from start to end before the
    // next is looked at.
    Paths inTurn = scenario("turn");
    m_prompts.AnswerNext(EAnswer::Yes);
    for (const std::string& path : inTurn)
        m_doc.OnDropFiles({path});
    std::vector<std::string> inTurnEvents = m_prompts.Events();

    m_doc.OnNewDocument();
    m_prompts.Clear();
    SetParallel(1);
    Paths queued = scenario("queued");
    m_prompts.AnswerNext(EAnswer::Yes);
    CScriptedPrompts& prompts = m_prompts;
    std::size_t before = prompts.Events().size();
    m_doc.OnDropFiles(queued);
    std::vector<std::string> queuedEvents(prompts.Events().begin() + static_cast<long>(before),
                                          prompts.Events().end());

    EXPECT_EQ(queuedEvents, inTurnEvents);
    EXPECT_EQ(m_doc.RowCount(), 3);
}

TEST_F(ParallelAdd, FolderQuestionIsAskedWhileEarlierFilesConvert)
{
    SetParallel(2);
    std::string slow = Pdf("slow.pdf", Warning("slow file"), "text\n", 0.5);
    std::string folder = m_dir.MakeFolder("more");
    CTempDir elsewhere;
    std::string inside = elsewhere.Write("x.pdf", "%PDF fake");
    (void)inside;
    m_prompts.AnswerFolderNext(FolderAnswerNo);

    m_doc.OnDropFiles({slow, folder});

    // The walk went on to the folder before the slow file was judged.
    ASSERT_EQ(m_prompts.Events().size(), 2u);
    EXPECT_EQ(m_prompts.Events()[0].rfind("folder ", 0), 0u);
    EXPECT_EQ(m_prompts.Events()[1],
              "message " + std::to_string(static_cast<int>(EMessageId::ExtractionWarning)));
    EXPECT_EQ(ListedSources(), (Paths{slow}));
}

TEST_F(ParallelAdd, Cancel_EndsRunsRemovesPartialTextsKeepsListedRowsSaysNothing)
{
    SetParallel(2);
    Paths dropped;
    dropped.push_back(Pdf("a.pdf"));
    for (const char* name : {"b.pdf", "c.pdf", "d.pdf", "e.pdf", "f.pdf"})
    {
        std::string path = Pdf(name, "", "full text\n", 30);
        m_dir.Write(std::string(name) + ".partial", "half");
        dropped.push_back(path);
    }
    // Cancelled in the first wait that finds a.pdf listed and b.pdf and
    // c.pdf running; a.pdf may be done before any wait.
    m_prompts.OnWait(
        [this](int, const CConversionMonitor&)
        {
            if (m_doc.RowCount() == 1)
                m_doc.CancelAdding();
        });

    m_doc.OnDropFiles(dropped);

    EXPECT_EQ(ListedSources(), (Paths{dropped[0]}));
    EXPECT_TRUE(m_prompts.Messages().empty());
    for (const char* name : {"b.txt", "c.txt", "d.txt", "e.txt", "f.txt"})
        EXPECT_FALSE(std::filesystem::exists(m_dir / name)) << name;
    EXPECT_LE(m_tool.Calls().size(), 3u);
    EXPECT_EQ(m_prompts.ConversionEnds(), 1);
    // The report keeps what was done before the cancel.
    ASSERT_TRUE(m_doc.LastAddReport());
    EXPECT_EQ(m_doc.LastAddReport()->Converted(), 1);

    // The next operation works as ever.
    m_prompts.OnWait(nullptr);
    std::string g = Pdf("g.pdf");
    m_doc.OnDropFiles({g});
    EXPECT_EQ(ListedSources(), (Paths{dropped[0], g}));
}

TEST_F(ParallelAdd, CancelFromTheWindow_StopsTheWalk)
{
    SetParallel(1);
    std::string a = Pdf("a.pdf", "", "text\n", 0.2);
    std::string b = Pdf("b.pdf");
    m_prompts.OnWait([this](int, const CConversionMonitor&) { m_doc.CancelAdding(); });
    m_doc.OnDropFiles({a, b});
    EXPECT_TRUE(ListedSources().empty());
    EXPECT_FALSE(std::filesystem::exists(b + ".started"));

    // The cancel ended that operation only.
    m_prompts.OnWait(nullptr);
    m_doc.OnDropFiles({b});
    EXPECT_EQ(ListedSources(), (Paths{b}));
}

TEST_F(ParallelAdd, SamePathTwiceInOneDrop_ConvertedOnce)
{
    SetParallel(2);
    std::string a = Pdf("a.pdf", "", "text\n", 0.2);
    m_doc.OnDropFiles({a, a});
    EXPECT_EQ(ListedSources(), (Paths{a}));
    EXPECT_EQ(m_tool.Calls().size(), 1u);
}

TEST_F(ParallelAdd, ProgressCountsQueuedDoneAndConverting)
{
    SetParallel(2);
    std::string a = Pdf("a.pdf", "", "text\n", 0.3);
    std::string b = Pdf("b.pdf", "", "text\n", 0.3);
    std::string c = Pdf("c.pdf");
    CConversionProgress first;
    m_prompts.OnWait(
        [&](int wait, const CConversionMonitor& monitor)
        {
            if (wait == 1)
                first = monitor.Progress();
        });
    m_doc.OnDropFiles({a, b, c});
    EXPECT_EQ(first.nQueued, 3);
    EXPECT_LE(first.converting.size(), 2u);
    EXPECT_LE(first.nDone, 1);
    EXPECT_EQ(m_doc.RowCount(), 3);
}

TEST_F(ParallelAdd, ConversionsAtOnce_DefaultsToTheCoresAndIsBounded)
{
    EXPECT_EQ(m_doc.Options().ConversionsAtOnce(), CAddOptions::DefaultConversionsAtOnce());
    EXPECT_GE(CAddOptions::DefaultConversionsAtOnce(), 1);
    m_doc.Options().SetConversionsAtOnce(0);
    EXPECT_EQ(m_settings.GetInt("", "Conversions at once"), 1);
    m_doc.Options().SetConversionsAtOnce(1000);
    EXPECT_EQ(m_doc.Options().ConversionsAtOnce(), CAddOptions::kMaxConversionsAtOnce);
    m_settings.SetInt("", "Conversions at once", -3);
    EXPECT_EQ(m_doc.Options().ConversionsAtOnce(), CAddOptions::DefaultConversionsAtOnce());
}

TEST_F(ParallelAdd, TimeLimitPerFile_DefaultsToTenMinutesAndZeroMeansNone)
{
    CAddOptions& options = m_doc.Options();
    EXPECT_EQ(options.TimeLimitPerFile(), 600);
    EXPECT_EQ(options.ForOperation().conversion.nTimeLimitSeconds, 600);
    options.SetTimeLimitPerFile(0);
    EXPECT_EQ(options.ForOperation().conversion.nTimeLimitSeconds, 0);
    m_settings.SetInt("", "Time limit per file", -5);
    EXPECT_EQ(options.TimeLimitPerFile(), 600);
}

// The workers unless the stored value says 1; a value of no meaning keeps
// the default.
TEST_F(ParallelAdd, ExtractionEngine_WorkersUnlessOneAsksForPdftotext)
{
    using E = CConversionOptions::EEngine;
    CAddOptions& options = m_doc.Options();
    EXPECT_EQ(options.ForOperation().conversion.eEngine, E::Workers);
    options.SetExtractionEngine(E::Pdftotext);
    EXPECT_EQ(m_settings.GetInt("", "Extraction engine"), 1);
    EXPECT_EQ(options.ForOperation().conversion.eEngine, E::Pdftotext);
    m_settings.SetInt("", "Extraction engine", 7);
    EXPECT_EQ(options.ExtractionEngine(), E::Workers);
}

// A file whose tool never ends is dropped when its time is up; the rest of
// the add goes on and ends as ever.
TEST_F(ParallelAdd, AFileOverItsTimeLimit_IsDroppedAndTheAddGoesOn)
{
    SetParallel(2);
    // Long enough that no quick file meets it on a busy machine.
    m_doc.Options().SetTimeLimitPerFile(3);
    Paths dropped = {Pdf("a.pdf"), Pdf("stuck.pdf", "", "text\n", 60), Pdf("c.pdf"), Pdf("d.pdf")};
    m_doc.OnDropFiles(dropped);
    EXPECT_EQ(ListedSources(), (Paths{dropped[0], dropped[2], dropped[3]}));
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::TimedOut});
    ASSERT_TRUE(m_doc.LastAddReport());
    EXPECT_EQ(m_doc.LastAddReport()->Count(EFileOutcome::TimedOut), 1);
}

// The first time an add writes into a folder, it removes what a program
// killed while writing there left behind.
TEST_F(ParallelAdd, LeftoverTemporariesGoWhenAnAddWritesIntoTheirFolder)
{
    std::string leftover = m_dir.Write(".a.txt.zelto-00000000deadbeef.tmp", "half");
    m_doc.OnDropFiles({Pdf("a.pdf")});
    EXPECT_FALSE(std::filesystem::exists(CTempDir::FsPath(leftover)));
}

TEST_F(ParallelAdd, QuestionsComeInFindingOrderReportsAndRowsInQueueOrder)
{
    SetParallel(2);
    std::string a = Pdf("a.pdf", Warning("first"));
    std::string b = m_dir.Write("b.doc", "not a pdf");
    m_dir.Write("c.txt", "old");
    std::string c = Pdf("c.pdf", Warning("third"));
    // a's report is only there once c has been asked about and queued.
    m_dir.Write("a.pdf.await", c + ".started");
    m_prompts.AnswerNext(EAnswer::Yes);
    CTimeline timeline(m_doc, m_prompts, {"a.pdf", "b.doc", "c.txt", "c.pdf"});
    m_doc.AddObserver(timeline);

    m_doc.OnDropFiles({a, b, c});

    m_doc.RemoveObserver(timeline);
    auto id = [](EMessageId message) { return std::to_string(static_cast<int>(message)) + " "; };
    EXPECT_EQ(
        timeline.Events(),
        (Paths{id(EMessageId::FileIgnored) + "b.doc", id(EMessageId::OverwriteQuestion) + "c.txt",
               id(EMessageId::ExtractionWarning) + "a.pdf", "listed a.pdf",
               id(EMessageId::ExtractionWarning) + "c.pdf", "listed c.pdf"}));
}

TEST_F(ParallelAdd, TextFileThroughAFolderLink_SecondWaitsAndAsksToOverwrite)
{
    SKIP_ON_WINDOWS(
        "Wine cannot make symbolic links, and Windows makes them only with a privilege");
    SetParallel(2);
    m_dir.MakeFolder("docs");
    std::filesystem::create_directory_symlink(m_dir / "docs", m_dir / "docs-link");
    std::string direct = Pdf("docs/a.pdf", "", "text\n", 0.3);
    std::string linked = m_dir / "docs-link/a.pdf";
    m_prompts.AnswerNext(EAnswer::Yes);
    m_doc.OnDropFiles({direct, linked});
    // Asked only if the first run had ended before the second was prepared.
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::OverwriteQuestion});
    EXPECT_EQ(ListedSources(), (Paths{linked, direct}));
    EXPECT_EQ(m_tool.Calls().size(), 2u);
}

TEST_F(ParallelAdd, LongFileAtTheHead_TheOtherWorkerGoesOnFarBehindIt)
{
    SetParallel(2);
    Paths dropped{Pdf("long.pdf")};
    for (int i = 0; i < 40; ++i)
        dropped.push_back(Pdf("short" + std::to_string(100 + i) + ".pdf"));
    // The long file ends only once the last short one has started.
    m_dir.Write("long.pdf.await", dropped.back() + ".started");
    m_doc.OnDropFiles(dropped);
    EXPECT_TRUE(m_prompts.Messages().empty()) << m_prompts.Messages()[0].strText;
    EXPECT_EQ(m_doc.RowCount(), 41);
}

TEST_F(ParallelAdd, ReportsBeyondTheBudget_HoldBackNewRunsUntilTheHeadIsJudged)
{
    Paths startedWhenListed;
    CConversionQueue queue(
        m_prompts, m_rules, 2, {},
        [&](std::unique_ptr<CConverter> converter, const CFileOutcome&)
        {
            std::string name(converter->m_strSourceName);
            if (std::filesystem::exists(m_dir / "c.pdf.started"))
                name += " after c started";
            startedWhenListed.push_back(name);
        },
        CConversionQueue::StartStdThread, 1);
    for (const std::string& path : {Pdf("a.pdf", "", "text\n", 0.3), Pdf("b.pdf"), Pdf("c.pdf")})
    {
        std::unique_ptr<CConverter> converter = m_table.FindConverter(path);
        ASSERT_FALSE(converter->PrepareConversion(m_noQuestion));
        queue.Enqueue(std::move(converter));
    }
    queue.Finish();
    EXPECT_EQ(startedWhenListed, (Paths{"a.pdf", "b.pdf", "c.pdf after c started"}));
}

TEST_F(ParallelAdd, CancelBehindALongHead_ListsFinishedRunsThatSucceededRemovesTheRest)
{
    SetParallel(2);
    std::string a = Pdf("a.pdf", "", "text\n", 30);
    m_dir.Write("a.pdf.partial", "half");
    std::string b = Pdf("b.pdf", Warning("not shown"));
    std::string c = Pdf("c.pdf", "Syntax Error: broken\n", "some text\n");
    m_dir.Write("c.pdf.status", "1");
    std::string d = Pdf("d.pdf", "", "text\n", 30);
    m_dir.Write("d.pdf.partial", "half");
    std::string e = Pdf("e.pdf");
    // One worker stays on a; the other runs b and c and is on d.
    m_dir.Write("a.pdf.await", d + ".started");
    m_prompts.OnWait(
        [&](int, const CConversionMonitor&)
        {
            for (int i = 0; i < 1000 && !std::filesystem::exists(d + ".started"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            m_doc.CancelAdding();
        });

    m_doc.OnDropFiles({a, b, c, d, e});

    EXPECT_TRUE(m_prompts.Messages().empty()) << m_prompts.Messages()[0].strText;
    EXPECT_EQ(ListedSources(), (Paths{b}));
    for (const char* name : {"a.txt", "c.txt", "d.txt", "e.txt"})
        EXPECT_FALSE(std::filesystem::exists(m_dir / name)) << name;
    EXPECT_EQ(m_prompts.ConversionEnds(), 1);
}

namespace
{
struct StartFailureCase
{
    const char* name;
    int parallel;
    int failingStart; // counted from 1
    std::size_t listed;
    std::string unstarted;
};

void PrintTo(const StartFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class ThreadStartFailure : public ParallelAdd,
                           public ::testing::WithParamInterface<StartFailureCase>
{
};
} // namespace

// The file that found no thread is named, with the system's reason; the
// files queued before it are still converted and listed.
TEST_P(ThreadStartFailure, EndsTheOperationWithTheReasonAndKeepsWhatWasListed)
{
    const StartFailureCase& c = GetParam();
    SetParallel(c.parallel);
    std::string earlier = Pdf("earlier.pdf");
    m_doc.OnDropFiles({earlier});
    int starts = 0;
    m_doc.SetThreadStarter(
        [&](std::function<void()> body)
        {
            if (++starts == c.failingStart)
                throw std::system_error(EAGAIN, std::generic_category());
            return std::thread(std::move(body));
        });

    Paths dropped{Pdf("a.pdf", "", "text\n", 0.2), Pdf("b.pdf"), Pdf("c.pdf")};
    m_doc.OnDropFiles(dropped);

    ASSERT_EQ(m_prompts.Messages().size(), 1u);
    const CRecordedMessage& message = m_prompts.Messages()[0];
    EXPECT_EQ(message.ids,
              (std::vector<EMessageId>{EMessageId::ConversionNotStarted, EMessageId::SystemError}));
    EXPECT_NE(message.strText.find("'" + (m_dir / c.unstarted) + "'"), std::string::npos);
    EXPECT_NE(message.strText.find(
                  CSystemErrorText::Describe(std::error_code(EAGAIN, std::generic_category()))),
              std::string::npos);
    EXPECT_EQ(m_doc.RowCount(), static_cast<int>(1 + c.listed));
    EXPECT_EQ(m_tool.Calls().size(), 1 + c.listed);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThreadStartFailure,
                         ::testing::Values(StartFailureCase{"OneAtATime", 1, 1, 0, "a.pdf"},
                                           StartFailureCase{"SecondWorker", 2, 2, 1, "b.pdf"}),
                         [](const ::testing::TestParamInfo<StartFailureCase>& info)
                         { return info.param.name; });

namespace
{
struct ExistingTextCase
{
    const char* name;
    EExistingText rule;
    int pdfNewerBySeconds; // the PDF's time less the text's
    bool converted;
    EFileOutcome kind; // the report's outcome; Converted when none
};

void PrintTo(const ExistingTextCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExistingText : public ParallelAdd, public ::testing::WithParamInterface<ExistingTextCase>
{
};
} // namespace

// A text file that is there already is asked about, kept, or replaced as
// the rule says; a kept one is listed with its outcome in the report and no
// box, and a PDF counts as newer only beyond the margin of coarse times.
TEST_P(ExistingText, FollowsTheRuleOfTheOperation)
{
    const ExistingTextCase& c = GetParam();
    m_doc.Options().SetExistingText(c.rule);
    std::string pdf = Pdf("doc.pdf", "", "new text\n");
    std::string text = m_dir.Write("doc.txt", "old text");
    namespace fs = std::filesystem;
    fs::last_write_time(CTempDir::FsPath(pdf), fs::last_write_time(CTempDir::FsPath(text)) +
                                                   std::chrono::seconds(c.pdfNewerBySeconds));
    m_prompts.AnswerNext(EAnswer::No);

    m_doc.OnDropFiles({pdf, Pdf("other.pdf")});

    EXPECT_EQ(m_tool.Calls().size(), c.converted ? 2u : 1u);
    EXPECT_EQ(CTempDir::ReadFile(text), c.converted ? "new text\n" : "old text");
    bool asked = c.rule == EExistingText::Ask;
    EXPECT_EQ(m_prompts.Messages().size(), asked ? 1u : 0u);
    EXPECT_EQ(ListedSources().size(), asked ? 1u : 2u);
    ASSERT_TRUE(m_doc.LastAddReport());
    EXPECT_EQ(m_doc.LastAddReport()->Converted(), c.converted ? 2 : 1);
    if (c.kind != EFileOutcome::Converted)
    {
        EXPECT_EQ(m_doc.LastAddReport()->Count(c.kind), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryRule, ExistingText,
    ::testing::Values(
        ExistingTextCase{"AskAndNo", EExistingText::Ask, 10, false, EFileOutcome::NotOverwritten},
        ExistingTextCase{"Keep", EExistingText::Keep, 10, false, EFileOutcome::Kept},
        ExistingTextCase{"NewerPdf", EExistingText::ReplaceWhenNewer, 10, true,
                         EFileOutcome::Converted},
        ExistingTextCase{"NewerWithinTheMargin", EExistingText::ReplaceWhenNewer, 1, false,
                         EFileOutcome::UpToDate},
        ExistingTextCase{"OlderPdf", EExistingText::ReplaceWhenNewer, -10, false,
                         EFileOutcome::UpToDate},
        ExistingTextCase{"Replace", EExistingText::Replace, -10, true, EFileOutcome::Converted}),
    [](const ::testing::TestParamInfo<ExistingTextCase>& info) { return info.param.name; });

namespace
{
using Ids = std::vector<EMessageId>;

std::vector<std::string> FilesUnder(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(CTempDir::FsPath(folder)))
    {
        // The fake tool's own files beside a source are no texts.
        if (entry.is_regular_file() && entry.path().stem().extension() != ".pdf")
        {
            std::u8string name =
                entry.path().lexically_relative(CTempDir::FsPath(folder)).generic_u8string();
            files.emplace_back(name.begin(), name.end());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What an add told, less the fake tool's own files beside the sources,
// which a walk meets and ignores.
Ids Told(const CScriptedPrompts& prompts)
{
    Ids told;
    for (EMessageId id : prompts.FirstIds())
    {
        if (id != EMessageId::FileIgnored)
            told.push_back(id);
    }
    return told;
}
} // namespace

// With a text folder, each added folder is mirrored there and a file added
// alone goes to its top; nothing is written beside the sources, which may
// be read-only. The text folder is never walked, even inside an added one.
TEST_F(ParallelAdd, TextFolder_MirrorsTheAddedFoldersAndLeavesTheSourcesAlone)
{
    SetParallel(2);
    CTempDir sources;
    for (const char* name : {"Docs/a.pdf", "Docs/2024/b.pdf", "Docs/Übersicht/文書.pdf"})
        CFakeTool::Script(sources.Write(name, "%PDF fake"), "", std::string("text\n"));
    std::string alone = sources.Write("alone.pdf", "%PDF fake");
    CFakeTool::Script(alone, "", std::string("alone\n"));
    std::vector<std::string> before = FilesUnder(sources.Path());
    std::string texts = m_dir / "texts";
    m_doc.Options().SetTextFolder(texts);
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);

    m_doc.OnDropFiles({sources / "Docs", alone});

    EXPECT_EQ(FilesUnder(texts),
              (std::vector<std::string>{"Docs/2024/b.txt", "Docs/a.txt", "Docs/Übersicht/文書.txt",
                                        "alone.txt"}));
    EXPECT_EQ(FilesUnder(sources.Path()), before);
    EXPECT_EQ(m_doc.RowCount(), 4);
    EXPECT_EQ(Told(m_prompts), Ids{});

    // Inside the added folder, the text folder is passed over, with
    // whatever it holds.
    m_doc.OnNewDocument();
    CFakeTool::Script(sources.Write("Docs/texts/stray.pdf", "%PDF fake"), "", std::string("x"));
    m_doc.Options().SetTextFolder(sources / "Docs/texts");
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    m_doc.OnDropFiles({sources / "Docs"});
    m_doc.OnNewDocument();
    m_prompts.AnswerFolderNext(FolderAnswerYesToAll);
    m_prompts.AnswerNext(EAnswer::Yes);
    m_doc.Options().SetExistingText(EExistingText::Keep);
    m_doc.OnDropFiles({sources / "Docs"});
    EXPECT_EQ(m_doc.RowCount(), 3);
    EXPECT_EQ(Told(m_prompts), Ids{});
    EXPECT_EQ(FilesUnder(sources / "Docs/texts"),
              (std::vector<std::string>{"Docs/2024/b.txt", "Docs/a.txt", "Docs/Übersicht/文書.txt",
                                        "stray.pdf"}));
}

namespace
{
// Two PDFs of one add whose text files are one. The first is slow, so that
// with two conversions at once it is still running when the second is met.
struct SharedTextCase
{
    const char* name;
    const char* first; // inside the temporary folder
    const char* second;
    const char* textFolder; // empty: beside the sources
    const char* added[2];   // what is dropped: folders or the two files
    const char* text;       // the text file both would write
};

void PrintTo(const SharedTextCase& c, std::ostream* out)
{
    *out << c.name;
}

class SharedText : public ParallelAdd,
                   public ::testing::WithParamInterface<std::tuple<SharedTextCase, int>>
{
};
} // namespace

// Under every rule for existing text and at one or two conversions at once,
// the second PDF fails without running, naming the first, and the first's
// text stays as written; nothing is asked about a text this add wrote.
TEST_P(SharedText, SecondPdfFailsAndTheFirstTextStays)
{
    const auto& [c, parallel] = GetParam();
    if (std::string(c.name) == "CaseOfExtension")
        SKIP_ON_WINDOWS("Windows keeps no two names that differ only in case");
    for (EExistingText rule : {EExistingText::Ask, EExistingText::Keep,
                               EExistingText::ReplaceWhenNewer, EExistingText::Replace})
    {
        SCOPED_TRACE(static_cast<int>(rule));
        CTempDir dir;
        std::string first = dir.Write(c.first, "%PDF fake");
        std::string second = dir.Write(c.second, "%PDF fake");
        CFakeTool::Script(first, "", std::string("first\n"));
        CFakeTool::Script(second, "", std::string("second\n"));
        dir.Write(std::string(c.first) + ".sleep", "0.3");
        CMemorySettings settings;
        settings.SetInt("", CAddOptions::kConversionsAtOnce, parallel);
        CScriptedPrompts prompts;
        prompts.AnswerFolderNext(FolderAnswerYesToAll);
        CZeltoDoc doc(m_table, prompts, prompts, settings);
        doc.Options().SetExistingText(rule);
        if (*c.textFolder)
            doc.Options().SetTextFolder(dir / c.textFolder);
        std::size_t callsBefore = m_tool.Calls().size();

        doc.OnDropFiles({dir / c.added[0], dir / c.added[1]});

        EXPECT_EQ(CTempDir::ReadFile(dir / c.text), "first\n");
        ASSERT_EQ(Told(prompts), Ids{EMessageId::TextFileShared});
        const std::string& told =
            std::find_if(prompts.Messages().begin(), prompts.Messages().end(),
                         [](const auto& box)
                         { return box.ids.front() == EMessageId::TextFileShared; })
                ->strText;
        for (const std::string& named : {second, dir / c.text, first})
            EXPECT_NE(told.find(named), std::string::npos) << named;
        ASSERT_EQ(doc.RowCount(), 1);
        EXPECT_EQ(doc.ConverterAt(0)->m_strSourcePath, first);
        EXPECT_EQ(m_tool.Calls().size() - callsBefore, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharedText,
    ::testing::Combine(
        ::testing::Values(
            SharedTextCase{"CaseOfExtension", "a.pdf", "a.PDF", "", {"a.pdf", "a.PDF"}, "a.txt"},
            SharedTextCase{"FilesFromTwoFoldersAtTheTextFolderTop",
                           "one/report.pdf",
                           "two/report.pdf",
                           "texts",
                           {"one/report.pdf", "two/report.pdf"},
                           "texts/report.txt"},
            SharedTextCase{"TwoFoldersOfOneName",
                           "one/Docs/x.pdf",
                           "two/Docs/x.pdf",
                           "texts",
                           {"one/Docs", "two/Docs"},
                           "texts/Docs/x.txt"}),
        ::testing::Values(1, 2)),
    [](const auto& info)
    {
        return std::string(std::get<0>(info.param).name) + "_" +
               std::to_string(std::get<1>(info.param));
    });
