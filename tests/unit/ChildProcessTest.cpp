// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "FakeTool.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/FileProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace
{
// Runs the fake tool (see FakeTool.h) on a source whose side files say
// what it does.
class ChildProcess : public ::testing::Test
{
protected:
    CChildResult Run(const std::string& folder = "", const CCancelFlag* cancel = nullptr)
    {
        return CChildProcess::Run({"pdftotext", "-layout", m_source, "-"}, folder, cancel);
    }
    CChildRequest Request() const
    {
        CChildRequest request;
        request.arguments = {"pdftotext", "-layout", m_source, "-"};
        return request;
    }
    void Tell(const std::string& what, const std::string& bytes) const
    {
        m_dir.Write("doc.pdf." + what, bytes);
    }

    CTempDir m_dir;
    CFakeTool m_tool;
    std::string m_source = m_dir.Write("doc.pdf", "");
};

CChildResult CancelledAfterStart(const std::string& source,
                                 const std::function<CChildResult(const CCancelFlag*)>& run)
{
    CCancelFlag cancel;
    std::thread canceller(
        [&]
        {
            for (int i = 0; i < 200 && !CFileProbe::Exists(source + ".started"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            cancel.Request();
        });
    CChildResult result = run(&cancel);
    canceller.join();
    return result;
}
} // namespace

// The output is handed on whole and in order, however large, while the
// error stream is read beside it; neither may stall the other.
TEST_F(ChildProcess, OutputStreamGoesToItsTakerAndTheErrorStreamIsCaptured)
{
    std::string text;
    for (int line = 0; text.size() < 3'000'000; ++line)
        text += "line " + std::to_string(line) + "\n";
    Tell("text", text);
    Tell("stderr", std::string(200000, 'e'));
    Tell("status", "3");
    CChildRequest request = Request();
    std::string taken;
    request.onOutput = [&](const char* bytes, std::size_t count)
    {
        taken.append(bytes, count);
        return 0;
    };
    CChildResult result = CChildProcess::Run(request);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(taken, text);
    EXPECT_EQ(result.strErrorOutput, std::string(200000, 'e'));
    EXPECT_EQ(result.nExitStatus, 3);
    EXPECT_EQ(result.nSignal, 0);
    EXPECT_FALSE(result.bCancelled);
    EXPECT_FALSE(result.bTimedOut);
}

// A taker that cannot keep the output ends the run with its error number.
TEST_F(ChildProcess, AFailedWriteOfTheOutputEndsTheRun)
{
    Tell("partial", std::string(100000, 't'));
    Tell("sleep", "30");
    CChildRequest request = Request();
    request.onOutput = [](const char*, std::size_t) { return 28; };
    auto start = std::chrono::steady_clock::now();
    CChildResult result = CChildProcess::Run(request);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::Write);
    EXPECT_EQ(result.nErrorCode, 28);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(ChildProcess, AChildEndedByASignalSaysWhich)
{
    SKIP_ON_WINDOWS("Windows has no signals that end a program");
    Tell("stderr", "dying\n");
    Tell("signal", std::to_string(SIGTERM));
    CChildResult result = Run();
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(result.nExitStatus, -1);
    EXPECT_EQ(result.nSignal, SIGTERM);
    EXPECT_EQ(result.strErrorOutput, "dying\n");
}

TEST_F(ChildProcess, ZeroByteEndsOnlyItsOwnChunk)
{
    // One write of 521 bytes: the first 500-byte chunk holds a zero byte
    // after ten letters, the second chunk is taken whole.
    Tell("stderr", std::string(10, 'A') + std::string(1, '\0') + std::string(489, 'B') + "CCCC\n" +
                       std::string(16, 'D'));
    EXPECT_EQ(Run().strErrorOutput, std::string(10, 'A') + "CCCC\n" + std::string(16, 'D'));
}

TEST_F(ChildProcess, ReadsAVeryLongReportToItsEnd)
{
    Tell("stderr", std::string(800000, 'x'));
    EXPECT_EQ(Run().strErrorOutput.size(), 800000u);
}

// On Windows the vector travels as one command line, so each argument must
// come back whole: spaces, quotes, backslashes before quotes and at the end,
// an empty one, and letters beyond ASCII.
TEST_F(ChildProcess, ArgumentsPassVerbatimWithoutAShell)
{
    std::vector<std::string> arguments = {"-layout",       "a \"b\" $c;d", "",  "end\\",
                                          "\\\\\"x\\",     "%PATH% ^&|<>", "-", "Zoë ✓ 日本.pdf",
                                          "tab\there\\\\", m_source,       "-"};
    std::vector<std::string> command = {"pdftotext"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    CChildResult result = CChildProcess::Run(command, "", nullptr);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(m_tool.LastArguments(), arguments);
}

TEST_F(ChildProcess, RunsInTheGivenWorkingFolder)
{
    CTempDir folder;
    Tell("where", "");
    std::string reported = Run(folder.Path()).strErrorOutput;
    ASSERT_FALSE(reported.empty());
    reported.pop_back();
    EXPECT_TRUE(
        std::filesystem::equivalent(CTempDir::FsPath(reported), CTempDir::FsPath(folder.Path())));
}

TEST(ChildProcessStart, MissingProgram_IsAStartFailureWithTheSystemErrorNumber)
{
    CChildResult result = CChildProcess::Run({"zelto-no-such-program-anywhere"}, "", nullptr);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::Start);
    EXPECT_TRUE(CFileProbe::MeansGone(result.nErrorCode)) << result.nErrorCode;
}

TEST(ChildProcessStart, ProgramFoundOnlyAsANonExecutableFile_IsPermissionDenied)
{
    SKIP_ON_WINDOWS("Windows files have no permission to be run");
    CTempDir bin;
    bin.Write("zelto-not-runnable", "#!/bin/sh\n");
    CScopedPath path(bin.Path());
    CChildResult result = CChildProcess::Run({"zelto-not-runnable"}, "", nullptr);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::Start);
    EXPECT_EQ(result.nErrorCode, EACCES);
}

// What the tool started must end with it, or it would go on writing.
TEST_F(ChildProcess, CancelEndsTheChildAndWhatItStarted)
{
    std::string marker = m_dir / "lingered";
    Tell("child", marker);
    Tell("sleep", "60");
    CChildResult result =
        CancelledAfterStart(m_source, [&](const CCancelFlag* cancel) { return Run("", cancel); });
    EXPECT_TRUE(result.bCancelled);
    EXPECT_EQ(result.nExitStatus, -1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(CFileProbe::Exists(marker));
}

TEST_F(ChildProcess, AnUnsetCancelFlagChangesNothing)
{
    CCancelFlag cancel;
    Tell("sleep", "0.2");
    Tell("stderr", "done\n");
    CChildResult result = Run("", &cancel);
    EXPECT_FALSE(result.bCancelled);
    EXPECT_EQ(result.strErrorOutput, "done\n");
    EXPECT_EQ(result.nExitStatus, 0);
}

// A run past its time ends as a cancelled one does (which ends what it
// started too) and says it timed out; the wait for the time never holds up
// a quick run.
TEST_F(ChildProcess, ARunPastItsTimeLimitIsEnded)
{
    Tell("sleep", "60");
    CChildRequest request = Request();
    request.nTimeLimitSeconds = 1;
    auto start = std::chrono::steady_clock::now();
    CChildResult result = CChildProcess::Run(request);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(result.bTimedOut);
    EXPECT_FALSE(result.bCancelled);
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(20));

    std::filesystem::remove(CTempDir::FsPath(m_source + ".sleep"));
    request.nTimeLimitSeconds = 60;
    start = std::chrono::steady_clock::now();
    result = CChildProcess::Run(request);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_FALSE(result.bTimedOut);
    EXPECT_EQ(result.nExitStatus, 0);
}

struct CEnvironmentCase
{
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
    std::string childSees;
};

class ChildEnvironment : public ChildProcess, public ::testing::WithParamInterface<CEnvironmentCase>
{
};

// The child gets the program's environment with the request's settings
// added or in place of the program's values; the program's own stays as it
// was.
TEST_P(ChildEnvironment, SettingsReachTheChildAlone)
{
    CScopedVariable set("ZELTO_TEST_SET", "parent");
    CScopedVariable unset("ZELTO_TEST_NEW", "");
    Tell("variables", "ZELTO_TEST_SET\nZELTO_TEST_NEW\n");
    CChildRequest request = Request();
    request.environment = GetParam().settings;
    CChildResult result = CChildProcess::Run(request);
    EXPECT_EQ(result.nExitStatus, 0);
    EXPECT_EQ(result.strErrorOutput, GetParam().childSees);
    EXPECT_EQ(std::string(std::getenv("ZELTO_TEST_SET")), "parent");
    EXPECT_EQ(std::getenv("ZELTO_TEST_NEW"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ChildEnvironment,
    ::testing::Values(CEnvironmentCase{"None", {}, "ZELTO_TEST_SET=parent\nZELTO_TEST_NEW unset\n"},
                      CEnvironmentCase{"Added",
                                       {{"ZELTO_TEST_NEW", "new"}},
                                       "ZELTO_TEST_SET=parent\nZELTO_TEST_NEW=new\n"},
                      CEnvironmentCase{"Replaced",
                                       {{"ZELTO_TEST_SET", "child"}},
                                       "ZELTO_TEST_SET=child\nZELTO_TEST_NEW unset\n"},
                      CEnvironmentCase{"Both",
                                       {{"ZELTO_TEST_NEW", "new"}, {"ZELTO_TEST_SET", "child"}},
                                       "ZELTO_TEST_SET=child\nZELTO_TEST_NEW=new\n"},
                      // Names are one regardless of case on Windows only.
                      CEnvironmentCase{"OtherCase",
                                       {{"Zelto_Test_Set", "other case"}},
#ifdef _WIN32
                                       "ZELTO_TEST_SET=other case\nZELTO_TEST_NEW unset\n"
#else
                                        "ZELTO_TEST_SET=parent\nZELTO_TEST_NEW unset\n"
#endif
                      }),
    [](const auto& info) { return std::string(info.param.name); });
