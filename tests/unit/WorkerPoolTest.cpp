// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockedPdfs.h"
#include "PdfMaker.h"
#include "TempDir.h"

#include "cli/ExtractCommand.h"
#include "extract/TextForm.h"
#include "extract/WorkerPool.h"
#include "platform/CancelFlag.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <regex>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/types.h>
#endif

namespace
{
// The real worker against the real pdftotext, both on poppler; Windows
// builds have no worker.
class WorkerPool : public ::testing::Test
{
protected:
    void SetUp() override
    {
#ifndef ZELTO_WORKER_PROGRAM
        GTEST_SKIP() << "no extraction worker in this build";
#else
        m_strWorker = ZELTO_WORKER_PROGRAM;
#endif
    }

    static CChildRequest Request(const std::string& pdf, const CTextForm& form = {})
    {
        CChildRequest request;
        request.arguments = {"pdftotext"};
        for (std::string& option : form.ToolOptions(false))
            request.arguments.push_back(std::move(option));
        request.arguments.insert(request.arguments.end(), {pdf, "-"});
        return request;
    }

    // Runs the request, gathering its text, and notes which worker ran it.
    static CChildResult Run(CWorkerPool& pool, CChildRequest request, std::string& text,
                            long* worker = nullptr, bool* byWorker = nullptr)
    {
        request.onOutput = [&](const char* bytes, std::size_t count)
        {
            if (worker && pool.BusyWorkers().size() == 1)
                *worker = pool.BusyWorkers().front();
            text.append(bytes, count);
            return 0;
        };
        return pool.Run(request, byWorker);
    }

    static CChildResult RunTool(CChildRequest request, std::string& text)
    {
        request.onOutput = [&](const char* bytes, std::size_t count)
        {
            text.append(bytes, count);
            return 0;
        };
        return CChildProcess::Run(request);
    }

    // The worker that runs a file, once it has one.
    static long WaitForBusyWorker(const CWorkerPool& pool)
    {
        for (int i = 0; i < 200 && pool.BusyWorkers().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return pool.BusyWorkers().empty() ? 0 : pool.BusyWorkers().front();
    }

    void ExpectConverts(CWorkerPool& pool, long* worker = nullptr)
    {
        std::string pdf = m_dir.Write("next.pdf", CPdfMaker::Build({"The next file"}));
        std::string text;
        bool byWorker = false;
        CChildResult result = Run(pool, Request(pdf), text, worker, &byWorker);
        EXPECT_TRUE(byWorker);
        EXPECT_EQ(result.nExitStatus, 0);
        EXPECT_NE(text.find("The next file"), std::string::npos);
    }

    CTempDir m_dir;
    std::string m_strWorker;
};

bool IsRunning(long processId)
{
#ifdef _WIN32
    return processId != 0;
#else
    return processId != 0 && ::kill(static_cast<pid_t>(processId), 0) == 0;
#endif
}
} // namespace

// Text, reports and exit status as pdftotext gives them, in every form of
// the text, for files that convert, warn, fail to open, need a password,
// forbid copying, have no page, or use a Chinese font that is not embedded.
TEST_F(WorkerPool, SameTextReportsAndStatusAsPdftotextInEveryForm)
{
    std::vector<std::string> pdfs = {
        m_dir.Write("plain.pdf", CPdfMaker::Build({"Two  columns    side by side\nand a line", "",
                                                   "Third page"})),
        m_dir.Write("chinese.pdf", CPdfMaker::BuildChinese(u"中文测试")),
        m_dir.Write("broken.pdf", CPdfMaker::Build({"cut short"}).substr(0, 200)),
        m_dir.Write("no pages.pdf", CPdfMaker::Build({}))};
    std::string odd = CPdfMaker::Build({"Survives\nthe odd operator"});
    odd.replace(odd.find("Tj T*"), 5, "Tj Zz");
    pdfs.push_back(m_dir.Write("odd.pdf", odd));
    // A manual page set by groff and PDFs encrypted by qpdf, where those
    // programs are installed.
    std::string dir = m_dir.Path();
    if (std::system(
            ("groff -man -Tpdf " ZELTO_MANUAL_PAGE " > '" + dir + "/manual.pdf'").c_str()) == 0)
        pdfs.push_back(dir + "/manual.pdf");
    if (std::system(("qpdf --encrypt secret owner 256 -- '" + pdfs[0] + "' '" + dir +
                     "/password.pdf' && qpdf --encrypt '' owner 256 --extract=n -- '" + pdfs[0] +
                     "' '" + dir + "/no copying.pdf'")
                        .c_str()) == 0)
        pdfs.insert(pdfs.end(), {dir + "/password.pdf", dir + "/no copying.pdf"});

    CWorkerPool pool(m_strWorker);
    using L = CTextForm::ELayout;
    for (const std::string& pdf : pdfs)
        for (L layout : {L::Physical, L::ReadingOrder, L::Raw})
            for (bool crLf : {false, true})
                for (bool pageBreaks : {false, true})
                {
                    CTextForm form{layout, crLf, pageBreaks, false};
                    std::string toolText;
                    std::string workerText;
                    bool byWorker = false;
                    CChildResult tool = RunTool(Request(pdf, form), toolText);
                    CChildResult worker =
                        Run(pool, Request(pdf, form), workerText, nullptr, &byWorker);
                    SCOPED_TRACE(pdf + " layout " + std::to_string(static_cast<int>(layout)) +
                                 (crLf ? " crlf" : "") + (pageBreaks ? " breaks" : ""));
                    EXPECT_TRUE(byWorker);
                    EXPECT_EQ(workerText, toolText);
                    EXPECT_EQ(worker.strErrorOutput, tool.strErrorOutput);
                    EXPECT_EQ(worker.nExitStatus, tool.nExitStatus);
                    EXPECT_EQ(worker.nSignal, 0);
                }
    EXPECT_GE(pdfs.size(), 8u) << "groff or qpdf missing: run scripts/install-deps.sh";
}

// The worker tells the pages drawn in good part in fonts without a map to
// Unicode: the garbled pages of the real PDFs of tests/fixtures/garbled
// (only the bad ones of a mixed file), none of sound PDFs, whose fonts are
// mapped by a ToUnicode map, by standard glyph names or by a character
// collection; none when pdftotext runs.
TEST_F(WorkerPool, TellsThePagesDrawnInFontsWithoutAMap)
{
    using Pages = std::vector<int>;
    const std::string fixtures = ZELTO_GARBLED_FIXTURES;
    std::vector<std::pair<std::string, Pages>> cases = {
        {fixtures + "/shifted.pdf", {1}},
        {fixtures + "/symbols.pdf", {1}},
        {fixtures + "/controls.pdf", {1}},
        {fixtures + "/rare.pdf", {1}},
        {fixtures + "/type3.pdf", {1}},
        {fixtures + "/mixed.pdf", {2, 3}},
        {m_dir.Write("latin.pdf", CPdfMaker::Build({"Sound text", "", "on three pages"})), {}},
        {m_dir.Write("chinese.pdf", CPdfMaker::BuildChinese(u"中文测试")), {}}};
    const std::string manual = m_dir / "manual.pdf";
    if (std::system(("groff -man -Tpdf " ZELTO_MANUAL_PAGE " > '" + manual + "'").c_str()) == 0)
        cases.emplace_back(manual, Pages{});
    CWorkerPool pool(m_strWorker);
    CWorkerPool tool(m_dir / "missing-worker");
    for (const auto& [pdf, pages] : cases)
    {
        SCOPED_TRACE(pdf);
        bool byWorker = false;
        EPdfLock lock = EPdfLock::Open;
        Pages found{99};
        pool.Run(Request(pdf), {}, byWorker, lock, &found);
        EXPECT_TRUE(byWorker);
        EXPECT_EQ(found, pages);
        found = {99};
        tool.Run(Request(pdf), {}, byWorker, lock, &found);
        EXPECT_FALSE(byWorker);
        EXPECT_EQ(found, Pages{});
    }
}

// A locked PDF opens in a worker with the first password given that opens
// it, as a user's or as an owner's password, with the text, report and
// status pdftotext gives with that password on its command line; with none
// that opens it, what pdftotext gives with a wrong one. The lock says which.
TEST_F(WorkerPool, LockedPdf_TextReportAndStatusOfPdftotextWithThePasswordThatOpensIt)
{
    struct CCase
    {
        const char* name;
        std::vector<std::string> encryption; // qpdf --encrypt's arguments
        std::vector<std::string> passwords;
        EPdfLock lock;
        std::vector<std::string> pdftotext; // its options for the same text
    };
    using P = std::vector<std::string>;
    const std::string utf8 = "gr\xC3\xBC\xC3\x9F";
    // clang-format off
    const std::vector<CCase> cases = {
        {"AES-256, user", {"user", "owner", "256"}, P{"wrong", "user"}, EPdfLock::Unlocked, {"-upw", "user"}},
        {"AES-256, owner", {"user", "owner", "256"}, P{"owner"}, EPdfLock::Unlocked, {"-opw", "owner"}},
        {"RC4-128, user", {"user", "owner", "128", "--use-aes=n"}, P{"wrong", "user"}, EPdfLock::Unlocked, {"-upw", "user"}},
        {"RC4-40, owner", {"user", "owner", "40"}, P{"wrong", "owner"}, EPdfLock::Unlocked, {"-opw", "owner"}},
        {"UTF-8 password", {utf8, "owner", "256"}, P{utf8}, EPdfLock::Unlocked, {"-upw", utf8}},
        {"no password given", {"user", "owner", "256"}, P{}, EPdfLock::NeedsPassword, {}},
        {"none opens it", {"user", "owner", "256"}, P{"wrong", "worse"}, EPdfLock::WrongPassword, {"-upw", "worse"}},
        {"copying restricted only", {"", "owner", "256", "--extract=n"}, P{"user"}, EPdfLock::Open, {}},
    };
    // clang-format on
    std::string source = m_dir.Write("source.pdf", CLockedPdfs::Source());
    CWorkerPool pool(m_strWorker);
    for (const CCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string pdf = m_dir / (std::string(c.name) + ".pdf");
        ASSERT_TRUE(CLockedPdfs::Lock(source, pdf, c.encryption))
            << "qpdf missing: run scripts/install-deps.sh";
        std::string toolText;
        CChildResult tool = CLockedPdfs::Pdftotext(pdf, c.pdftotext, toolText);
        std::string workerText;
        CChildRequest request = Request(pdf, CTextForm{});
        request.onOutput = [&](const char* bytes, std::size_t count)
        {
            workerText.append(bytes, count);
            return 0;
        };
        bool byWorker = false;
        EPdfLock lock = EPdfLock::Open;
        CChildResult worker = pool.Run(request, c.passwords, byWorker, lock);
        EXPECT_TRUE(byWorker);
        EXPECT_EQ(lock, c.lock);
        EXPECT_EQ(workerText, toolText);
        EXPECT_EQ(worker.strErrorOutput, tool.strErrorOutput);
        EXPECT_EQ(worker.nExitStatus, tool.nExitStatus);
        EXPECT_EQ(worker.nExitStatus == 0,
                  c.lock == EPdfLock::Unlocked || c.lock == EPdfLock::Open);
    }
    // The passwords went with one file alone: the next, locked too, has none.
    std::string pdf = m_dir / "AES-256, user.pdf";
    bool byWorker = false;
    EPdfLock lock = EPdfLock::Open;
    pool.Run(Request(pdf), {}, byWorker, lock);
    EXPECT_EQ(lock, EPdfLock::NeedsPassword);
}

// A worker that dies on a file costs that file: it ends as a tool killed by
// that signal would, and the next file goes to a new worker.
TEST_F(WorkerPool, WorkerKilledMidFile_FileFailsWithTheSignalAndTheNextConverts)
{
    std::string pdf = m_dir.Write("endless.pdf", CPdfMaker::BuildNested(6));
    CWorkerPool pool(m_strWorker);
    std::string text;
    auto run = std::async(std::launch::async, [&] { return Run(pool, Request(pdf), text); });
    long killed = WaitForBusyWorker(pool);
    ASSERT_NE(killed, 0);
#ifndef _WIN32
    ::kill(static_cast<pid_t>(killed), SIGSEGV);
#endif
    CChildResult result = run.get();
#ifndef _WIN32
    EXPECT_EQ(result.nSignal, SIGSEGV);
#endif
    EXPECT_EQ(result.nExitStatus, -1);
    long next = 0;
    ExpectConverts(pool, &next);
    EXPECT_NE(next, killed);
}

// A run past its time, or cancelled, ends its worker at once.
TEST_F(WorkerPool, RunOutOfTimeOrCancelled_EndsItsWorkerAndTheNextConverts)
{
    std::string pdf = m_dir.Write("endless.pdf", CPdfMaker::BuildNested(6));
    for (bool cancelled : {false, true})
    {
        CWorkerPool pool(m_strWorker);
        CCancelFlag cancel;
        CChildRequest request = Request(pdf);
        request.nTimeLimitSeconds = cancelled ? 0 : 1;
        request.cancel = &cancel;
        std::string text;
        auto start = std::chrono::steady_clock::now();
        auto run = std::async(std::launch::async, [&] { return Run(pool, request, text); });
        long worker = WaitForBusyWorker(pool);
        if (cancelled)
            cancel.Request();
        CChildResult result = run.get();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(result.bTimedOut, !cancelled);
        EXPECT_EQ(result.bCancelled, cancelled);
        EXPECT_FALSE(IsRunning(worker));
        ExpectConverts(pool);
    }
}

// The memory cap ends the worker on the file that passes it, and on that
// file alone.
TEST_F(WorkerPool, FilePastTheMemoryCap_FailsAloneAndTheNextConverts)
{
    constexpr int kSmallCapMebibytes = 96;
    CWorkerPool pool(m_strWorker, kSmallCapMebibytes);
    std::string pdf = m_dir.Write("greedy.pdf", CPdfMaker::BuildNested(6));
    CChildRequest request = Request(pdf);
    request.nTimeLimitSeconds = 60;
    std::string text;
    CChildResult result = Run(pool, request, text);
    EXPECT_FALSE(result.bTimedOut);
    EXPECT_TRUE(result.nSignal != 0 || result.nExitStatus != 0);
    ExpectConverts(pool);
}

// A worker is replaced after its number of files, and ends with the add
// operation it waited in.
TEST_F(WorkerPool, WorkerIsReplacedAfterItsFilesAndEndsWhenIdleOnesAreEnded)
{
    CWorkerPool pool(m_strWorker, CWorkerPool::kMemoryLimitMebibytes, 2);
    long workers[4] = {};
    for (int i = 0; i < 3; ++i)
        ExpectConverts(pool, &workers[i]);
    EXPECT_EQ(workers[0], workers[1]);
    EXPECT_NE(workers[1], workers[2]);
    EXPECT_TRUE(IsRunning(workers[2]));
    pool.EndIdleWorkers();
    EXPECT_FALSE(IsRunning(workers[2]));
    ExpectConverts(pool, &workers[3]);
    EXPECT_NE(workers[3], workers[2]);
}

// A worker that ends by itself in the middle of a file, without a signal
// and with status 0, has still not converted it.
TEST_F(WorkerPool, WorkerEndingWithoutAnAnswer_FailsTheFile)
{
    std::string worker = m_dir.Write("quitter", "#!/bin/sh\n"
                                                "printf 'H\\016\\000\\000\\000zelto-worker 3'\n"
                                                "head -c 1 > /dev/null\n"
                                                "printf 'T\\004\\000\\000\\000half'\n");
    std::filesystem::permissions(worker, std::filesystem::perms::owner_all);
    CWorkerPool pool(worker);
    std::string text;
    bool byWorker = false;
    CChildResult result = Run(pool, Request(m_dir / "a.pdf"), text, nullptr, &byWorker);
    EXPECT_TRUE(byWorker);
    EXPECT_EQ(text, "half");
    EXPECT_EQ(result.nSignal, 0);
    EXPECT_NE(result.nExitStatus, 0);
}

// Where no worker starts, pdftotext runs, with its own result.
TEST_F(WorkerPool, WorkerMissingOrBroken_ThePdftotextRunsInstead)
{
    std::string pdf = m_dir.Write("a.pdf", CPdfMaker::Build({"Still converted"}));
    // A worker of another version of the protocol is refused.
    std::string older = m_dir.Write("older", "#!/bin/sh\n"
                                             "printf 'H\\016\\000\\000\\000zelto-worker 2'\n"
                                             "cat > /dev/null\n");
    std::filesystem::permissions(older, std::filesystem::perms::owner_all);
    for (std::string program : {m_dir / "missing-worker", std::string("/bin/true"), older})
    {
        CWorkerPool pool(program);
        std::string text;
        bool byWorker = true;
        CChildResult result = Run(pool, Request(pdf), text, nullptr, &byWorker);
        EXPECT_FALSE(byWorker) << program;
        EXPECT_FALSE(pool.IsAvailable());
        EXPECT_EQ(result.nExitStatus, 0);
        EXPECT_NE(text.find("Still converted"), std::string::npos);
    }
    // Beside the program in a build, in libexec once installed.
    EXPECT_EQ(CWorkerPool::FindWorker(m_dir.Path()), "");
    m_dir.Write("usr/libexec/zelto-extractor/zelto-extract-worker", "");
    m_dir.MakeFolder("usr/bin");
    EXPECT_EQ(CWorkerPool::FindWorker(m_dir / "usr/bin/"),
              m_dir / "usr/bin/../libexec/zelto-extractor/zelto-extract-worker");
    m_dir.Write("usr/bin/zelto-extract-worker", "");
    EXPECT_EQ(CWorkerPool::FindWorker(m_dir / "usr/bin"), m_dir / "usr/bin/zelto-extract-worker");
}

// The command's report says the same, word for word, whichever engine
// converted: outcomes, messages and exit statuses.
TEST_F(WorkerPool, CommandReportIsTheSameWithEitherEngine)
{
    std::string odd = CPdfMaker::Build({"Survives\nthe odd operator"});
    odd.replace(odd.find("Tj T*"), 5, "Tj Zz");
    std::map<std::string, std::string> reports;
    for (std::string engine : {"workers", "pdftotext"})
    {
        std::string in = m_dir.MakeFolder(engine);
        CPdfMaker::Write(in + "/plain.pdf", {"Page one", "Page two"});
        m_dir.Write(engine + "/odd.pdf", odd);
        m_dir.Write(engine + "/blank.pdf", CPdfMaker::Build({""}));
        m_dir.Write(engine + "/broken.pdf", CPdfMaker::Build({"cut short"}).substr(0, 200));
        CCommandStreams streams;
        streams.writeOutput = [](std::string_view) {};
        streams.writeError = [](std::string_view) {};
        streams.readInput = [](char*, std::size_t) { return 0L; };
        streams.stopRequest = [] { return 0; };
        streams.strWorkerProgram = m_strWorker;
        std::string report = m_dir / (engine + ".csv");
        CExtractCommand(std::move(streams))
            .Run({"--engine", engine, "-j", "1", "--report", report, in});
        std::string rows = CTempDir::ReadFile(report);
        // Only the folder's name and the seconds may differ.
        rows = std::regex_replace(rows, std::regex(in), "IN");
        reports[engine] = std::regex_replace(rows, std::regex(",[0-9.]+\n"), ",S\n");
    }
    EXPECT_EQ(reports["workers"], reports["pdftotext"]);
    EXPECT_NE(reports["workers"].find("Unknown operator 'Zz'"), std::string::npos);
}
