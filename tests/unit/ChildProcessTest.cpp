#include "platform/ChildProcess.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace
{
CChildResult RunShell(const std::string& script, const std::string& folder = "",
                      const CCancelFlag* cancel = nullptr)
{
    return CChildProcess::Run({"sh", "-c", script}, folder, cancel);
}
} // namespace

TEST(ChildProcess, CapturesTheErrorStreamOnly)
{
    CChildResult result = RunShell("echo to-output; echo to-error >&2; exit 3");
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(result.strErrorOutput, "to-error\n");
    EXPECT_EQ(result.nExitStatus, 3);
    EXPECT_EQ(result.nSignal, 0);
    EXPECT_FALSE(result.bCancelled);
}

TEST(ChildProcess, AChildEndedByASignalSaysWhich)
{
    CChildResult result = RunShell("echo dying >&2; kill -TERM $$");
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::None);
    EXPECT_EQ(result.nExitStatus, -1);
    EXPECT_EQ(result.nSignal, SIGTERM);
    EXPECT_EQ(result.strErrorOutput, "dying\n");
}

TEST(ChildProcess, ZeroByteEndsOnlyItsOwnChunk)
{
    // One write of 521 bytes: the first 500-byte chunk holds a zero byte
    // after ten letters, the second chunk is taken whole.
    CTempDir dir;
    std::string report = std::string(10, 'A') + std::string(1, '\0') + std::string(489, 'B') +
                         "CCCC\n" + std::string(16, 'D');
    std::string path = dir.Write("report", report);
    CChildResult toError = RunShell("cat '" + path + "' >&2");
    EXPECT_EQ(toError.strErrorOutput, std::string(10, 'A') + "CCCC\n" + std::string(16, 'D'));
}

TEST(ChildProcess, ReadsAVeryLongReportToItsEnd)
{
    CChildResult result = RunShell("head -c 800000 /dev/zero | tr '\\000' x >&2");
    EXPECT_EQ(result.strErrorOutput.size(), 800000u);
}

TEST(ChildProcess, ArgumentsPassVerbatimWithoutAShell)
{
    CChildResult result = CChildProcess::Run(
        {"sh", "-c", "printf '%s|%s' \"$1\" \"$2\" >&2", "sh", "a \"b\" $c;d", "-layout"}, "",
        nullptr);
    EXPECT_EQ(result.strErrorOutput, "a \"b\" $c;d|-layout");
}

TEST(ChildProcess, RunsInTheGivenWorkingFolder)
{
    CTempDir dir;
    CChildResult result = RunShell("pwd >&2", dir.Path());
    EXPECT_EQ(result.strErrorOutput, std::filesystem::canonical(dir.Path()).string() + "\n");
}

TEST(ChildProcess, MissingProgram_IsAStartFailureWithTheSystemErrorNumber)
{
    CChildResult result = CChildProcess::Run({"zelto-no-such-program-anywhere"}, "", nullptr);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::Start);
    EXPECT_EQ(result.nErrorCode, ENOENT);
}

TEST(ChildProcess, ProgramFoundOnlyAsANonExecutableFile_IsPermissionDenied)
{
    CTempDir bin;
    bin.Write("zelto-not-runnable", "#!/bin/sh\n");
    std::string oldPath = std::getenv("PATH");
    ::setenv("PATH", bin.Path().c_str(), 1);
    CChildResult result = CChildProcess::Run({"zelto-not-runnable"}, "", nullptr);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(result.eFailure, CChildResult::EFailure::Start);
    EXPECT_EQ(result.nErrorCode, EACCES);
}

TEST(ChildProcess, CancelEndsARunningChild)
{
    CCancelFlag cancel;
    std::thread canceller(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            cancel.Request();
        });
    CChildResult result = CChildProcess::Run({"sleep", "60"}, "", &cancel);
    canceller.join();
    EXPECT_TRUE(result.bCancelled);
    EXPECT_EQ(result.nExitStatus, -1);
}

TEST(ChildProcess, AnUnsetCancelFlagChangesNothing)
{
    CCancelFlag cancel;
    CChildResult result = RunShell("sleep 0.2; echo done >&2", "", &cancel);
    EXPECT_FALSE(result.bCancelled);
    EXPECT_EQ(result.strErrorOutput, "done\n");
    EXPECT_EQ(result.nExitStatus, 0);
}
