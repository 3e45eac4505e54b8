#include "platform/ChildProcess.h"
#include "FakeTool.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "platform/FileProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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
        return CChildProcess::Run({"pdftotext", "-layout", m_source, m_dir / "doc.txt"}, folder,
                                  cancel);
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

TEST_F(ChildProcess, CapturesTheErrorStreamOnly)
{
    Tell("stdout", "to-output\n");
    Tell("stderr", "to-error\n");
    Tell("status", "3");
    CChildResult result = Run();
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(result.strErrorOutput, "to-error\n");
    EXPECT_EQ(result.nExitStatus, 3);
    EXPECT_EQ(result.nSignal, 0);
    EXPECT_FALSE(result.bCancelled);
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
    std::vector<std::string> arguments = {"-layout",        m_source,       "a \"b\" $c;d", "",
                                          "end\\",          "\\\\\"x\\",    "%PATH% ^&|<>", "-",
                                          "Zoë ✓ 日本.pdf", "tab\there\\\\"};
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
