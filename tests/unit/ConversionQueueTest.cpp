#include "DocFixture.h"
#include "FakeTool.h"

#include <random>

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

    void SetParallel(int count) { m_settings.SetInt("", CZeltoDoc::kConversionsAtOnce, count); }

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
};

std::string Warning(const std::string& what)
{
    return "Syntax Warning: " + what + " (continuing anyway)\n";
}
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
    // The first wait is for a.pdf; the second finds b.pdf and c.pdf running.
    m_prompts.CancelInWait(2);

    m_doc.OnDropFiles(dropped);

    EXPECT_EQ(ListedSources(), (Paths{dropped[0]}));
    EXPECT_TRUE(m_prompts.Messages().empty());
    for (const char* name : {"b.txt", "c.txt", "d.txt", "e.txt", "f.txt"})
        EXPECT_FALSE(std::filesystem::exists(m_dir / name)) << name;
    EXPECT_LE(m_tool.Calls().size(), 3u);
    EXPECT_EQ(m_prompts.ConversionEnds(), 1);

    // The next operation works as ever.
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

TEST_F(ParallelAdd, TwoSourcesOfOneTextFile_SecondWaitsAndAsksToOverwrite)
{
    SetParallel(2);
    std::string lower = Pdf("a.pdf", "", "from lower\n", 0.3);
    std::string upper = Pdf("a.PDF", "", "from upper\n");
    m_prompts.AnswerNext(EAnswer::Yes);
    m_doc.OnDropFiles({lower, upper});
    EXPECT_EQ(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::OverwriteQuestion});
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "a.txt"), "from upper\n");
    EXPECT_EQ(m_doc.RowCount(), 2);
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
    EXPECT_EQ(m_doc.ConversionsAtOnce(), CZeltoDoc::DefaultConversionsAtOnce());
    EXPECT_GE(CZeltoDoc::DefaultConversionsAtOnce(), 1);
    m_doc.SetConversionsAtOnce(0);
    EXPECT_EQ(m_settings.GetInt("", "Conversions at once"), 1);
    m_doc.SetConversionsAtOnce(1000);
    EXPECT_EQ(m_doc.ConversionsAtOnce(), CZeltoDoc::kMaxConversionsAtOnce);
    m_settings.SetInt("", "Conversions at once", -3);
    EXPECT_EQ(m_doc.ConversionsAtOnce(), CZeltoDoc::DefaultConversionsAtOnce());
}
