// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeTool.h"
#include "PdfMaker.h"
#include "TempDir.h"
#include "cli/ExtractCommand.h"
#include "platform/FolderEvents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace
{
namespace fs = std::filesystem;

// Asks `condition` until it holds, for up to 30 s.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 600; ++i)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The command watching on a thread of its own, with the real pdftotext,
// until the test asks it to stop as SIGTERM would.
class ExtractWatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CFolderEvents::Available())
            GTEST_SKIP() << "no watching on this system";
        m_strIn = m_dir.MakeFolder("in");
    }

    void TearDown() override
    {
        if (m_result.valid())
            Stop();
    }

    void Start(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--watch", "--settle", "1", "--report", Report()});
        std::promise<void> watching;
        CCommandStreams streams;
        streams.writeOutput = [](std::string_view) {};
        streams.writeError = [this](std::string_view text)
        {
            std::lock_guard lock(m_mutex);
            m_err += text;
        };
        streams.readInput = [](char*, std::size_t) -> long { return 0; };
        streams.stopRequest = [this] { return m_nStop.load(); };
        streams.rereadRequest = [this] { return m_bReread.exchange(false); };
        streams.watching = [this, &watching](std::function<void()> wake)
        {
            m_wake = std::move(wake);
            watching.set_value();
        };
        m_result = std::async(std::launch::async, [streams, arguments]
                              { return CExtractCommand(streams).Run(arguments); });
        std::future<void> started = watching.get_future();
        ASSERT_EQ(started.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    }

    int Stop()
    {
        m_nStop = SIGTERM;
        m_wake();
        return m_result.get();
    }

    std::string Report() const { return m_dir / "report.csv"; }
    std::string Rows() const { return CTempDir::ReadFile(Report()); }
    // Waits for the report to name the file `count` times.
    bool WaitForRows(const std::string& path, int count = 1)
    {
        return WaitFor([&] { return CountOf(Rows(), path + ",") >= count; });
    }
    std::string Error()
    {
        std::lock_guard lock(m_mutex);
        return m_err;
    }

    static std::string Pages(int number)
    {
        return "Page " + std::to_string(number) + " of the watched report";
    }

    CTempDir m_dir;
    std::string m_strIn;
    std::atomic<int> m_nStop{0};
    std::atomic<bool> m_bReread{false};
    std::function<void()> m_wake;
    std::future<int> m_result;
    std::mutex m_mutex;
    std::string m_err;
};
} // namespace

// A scanner that keeps its file open and writes it in parts with pauses
// longer than the settling time gives one text, of the whole file.
TEST_F(ExtractWatch, FileWrittenInChunksWithPauses_ConvertedOnceWhole)
{
    Start({m_strIn});
    std::string pdf = m_strIn + "/scan.pdf";
    std::string whole = CPdfMaker::Build({Pages(1), Pages(2), Pages(3)});
    {
        std::ofstream out(pdf, std::ios::binary);
        for (std::size_t part = 0; part < 3; ++part)
        {
            std::size_t size = whole.size() / 3 + 1;
            out.write(whole.data() + part * size,
                      static_cast<std::streamsize>(std::min(size, whole.size() - part * size)));
            out.flush();
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
    }
    ASSERT_TRUE(WaitForRows(pdf));
    // Longer than settling again: no second conversion comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(Stop(), 128 + SIGTERM);
    EXPECT_EQ(CountOf(Rows(), pdf + ","), 1) << Rows();
    std::string text = CTempDir::ReadFile(m_strIn + "/scan.txt");
    for (int page : {1, 2, 3})
        EXPECT_NE(text.find(Pages(page)), std::string::npos) << text;
}

// Files renamed in, folders made later and files in them arrive; the text
// folder inside the watched folder is never watched, and a PDF put there is
// no source. What was there before the watch is converted first.
TEST_F(ExtractWatch, ArrivalsByRenameAndInNewFolders_ConvertedIntoTheTextFolder)
{
    CPdfMaker::Write(m_strIn + "/before.pdf", {"there before"});
    std::string texts = m_strIn + "/texts";
    Start({"--text-folder", texts, m_strIn});
    ASSERT_TRUE(WaitForRows(m_strIn + "/before.pdf"));

    std::string outside = m_dir / "incoming.part";
    CPdfMaker::Write(outside, {"renamed in"});
    fs::rename(outside, m_strIn + "/renamed.pdf");
    fs::create_directories(m_strIn + "/new/deeper");
    CPdfMaker::Write(m_strIn + "/new/deeper/late.pdf", {"in a new folder"});
    ASSERT_TRUE(WaitForRows(m_strIn + "/renamed.pdf"));
    ASSERT_TRUE(WaitForRows(m_strIn + "/new/deeper/late.pdf"));
    CPdfMaker::Write(texts + "/in/stray.pdf", {"no source"});
    CPdfMaker::Write(m_strIn + "/last.pdf", {"the last"});
    ASSERT_TRUE(WaitForRows(m_strIn + "/last.pdf"));
    EXPECT_EQ(Stop(), 128 + SIGTERM);

    std::string rows = Rows();
    EXPECT_EQ(rows.find("stray.pdf"), std::string::npos) << rows;
    EXPECT_EQ(CountOf(rows, ",converted,"), 4) << rows;
    EXPECT_NE(CTempDir::ReadFile(texts + "/in/before.txt").find("there before"), std::string::npos);
    EXPECT_NE(CTempDir::ReadFile(texts + "/in/renamed.txt").find("renamed in"), std::string::npos);
    EXPECT_NE(CTempDir::ReadFile(texts + "/in/new/deeper/late.txt").find("in a new folder"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(texts + "/in/texts"));
}

// Looking over the folder instead of being told finds arrivals and changes
// too; a file that did not change is not converted again.
TEST_F(ExtractWatch, Polling_FindsArrivalsAndChanges)
{
    std::string pdf = m_strIn + "/polled.pdf";
    Start({"--poll", "1", m_strIn});
    CPdfMaker::Write(pdf, {"first version"});
    ASSERT_TRUE(WaitForRows(pdf));
    // A later time than the text's, as a new version copied over has.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    CPdfMaker::Write(pdf, {"second version"});
    ASSERT_TRUE(WaitForRows(pdf, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    EXPECT_EQ(Stop(), 128 + SIGTERM);
    EXPECT_EQ(CountOf(Rows(), pdf + ","), 2) << Rows();
    EXPECT_NE(CTempDir::ReadFile(m_strIn + "/polled.txt").find("second version"),
              std::string::npos);
}

// A request to read the settings again (SIGHUP) changes how the files that
// arrive after it are converted; the watch goes on.
TEST_F(ExtractWatch, SettingsReadAgain_HoldForLaterArrivals)
{
    std::string settings = m_dir.Write("Zelto.conf", "[General]\nLine%20ends=0\n");
    Start({"--settings", settings, m_strIn});
    CPdfMaker::Write(m_strIn + "/before.pdf", {"first line", "second page"});
    ASSERT_TRUE(WaitForRows(m_strIn + "/before.pdf"));

    m_dir.Write("Zelto.conf", "[General]\nLine%20ends=1\n");
    m_bReread = true;
    m_wake();
    ASSERT_TRUE(WaitFor([&] { return Error().find("re-read") != std::string::npos; }));
    CPdfMaker::Write(m_strIn + "/after.pdf", {"first line", "second page"});
    ASSERT_TRUE(WaitForRows(m_strIn + "/after.pdf"));
    EXPECT_EQ(Stop(), 128 + SIGTERM);
    EXPECT_EQ(CTempDir::ReadFile(m_strIn + "/before.txt").find("\r\n"), std::string::npos);
    EXPECT_NE(CTempDir::ReadFile(m_strIn + "/after.txt").find("first line\r\n"), std::string::npos);
}

TEST_F(ExtractWatch, OnlyFoldersAreWatched)
{
    std::string file = m_dir.Write("in/a.pdf", "%PDF-1.4\n");
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--watch", file}, {"--watch", m_dir / "gone"}})
    {
        CCommandStreams streams;
        std::string err;
        streams.writeError = [&](std::string_view text) { err += text; };
        streams.writeOutput = [](std::string_view) {};
        streams.stopRequest = [] { return 0; };
        EXPECT_EQ(CExtractCommand(streams).Run(arguments), CExtractCommand::kExitUsage);
        EXPECT_NE(err.find(arguments[1]), std::string::npos) << err;
    }
}

#ifndef _WIN32
namespace
{
// Starts the built command with its error stream into a file; in a user
// namespace whose inotify watches are limited to `watches` when given.
pid_t StartCommand(std::vector<std::string> arguments, const std::string& errors,
                   std::optional<int> watches = {})
{
    arguments.insert(arguments.begin(), ZELTO_EXTRACT_PROGRAM);
    if (watches)
        arguments.insert(arguments.begin(),
                         {"unshare", "-U", "-r", "sh", "-c",
                          "echo " + std::to_string(*watches) +
                              " >/proc/sys/user/max_inotify_watches && exec \"$0\" \"$@\""});
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int EndCommand(pid_t pid)
{
    ::kill(pid, SIGTERM);
    int status = 0;
    if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }))
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

// Once the system's watches run out, the watch looks over the folders by
// itself, says so once, and still finds what arrives where it could not
// watch.
TEST_F(ExtractWatch, WatchesRunOut_TurnsToLookingWithOneMessage)
{
    if (std::system("unshare -U -r true 2>/dev/null") != 0)
        GTEST_SKIP() << "no user namespaces here to limit the watches in";
    std::string deep = m_dir.MakeFolder("in/a/b/c/d");
    std::string errors = m_dir / "errors.txt";
    pid_t pid =
        StartCommand({"--watch", "--settle", "0", "--report", Report(), m_strIn}, errors, 2);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] { return CountOf(CTempDir::ReadFile(errors), "max_user_watches"); }));
    CPdfMaker::Write(deep + "/late.pdf", {"found by looking"});
    CPdfMaker::Write(m_strIn + "/top.pdf", {"found by looking too"});
    EXPECT_TRUE(WaitForRows(deep + "/late.pdf"));
    EXPECT_TRUE(WaitForRows(m_strIn + "/top.pdf"));
    EXPECT_EQ(EndCommand(pid), 128 + SIGTERM);
    EXPECT_EQ(CountOf(CTempDir::ReadFile(errors), "max_user_watches"), 1);
    EXPECT_NE(CTempDir::ReadFile(deep + "/late.txt").find("found by looking"), std::string::npos);
}

// SIGTERM while a file converts ends the run; the file's text is never
// written in part.
TEST_F(ExtractWatch, SigtermMidConversion_LeavesNoText)
{
    CFakeTool tool;
    pid_t pid = StartCommand(
        {"--watch", "--settle", "0", "--engine", "pdftotext", "--report", Report(), m_strIn},
        "/dev/null");
    ASSERT_GT(pid, 0);
    // The watch has begun once the report has its header.
    ASSERT_TRUE(WaitFor([&] { return !Rows().empty(); }));

    std::string pdf = m_strIn + "/slow.pdf";
    m_dir.Write("in/slow.pdf.sleep", "60");
    m_dir.Write("in/slow.pdf.partial", "half a text");
    CFakeTool::Script(pdf, "", "whole text\n");
    m_dir.Write("in/slow.pdf", "%PDF-1.4\n");
    ASSERT_TRUE(WaitFor([&] { return fs::exists(pdf + ".started"); }));

    EXPECT_EQ(EndCommand(pid), 128 + SIGTERM);
    EXPECT_FALSE(fs::exists(m_strIn + "/slow.txt"));
    EXPECT_EQ(Rows().find("slow.pdf,"), std::string::npos) << Rows();
}
#endif
