// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "platform/Executables.h"
#include "platform/RunningChild.h"

#include "Pipe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <signal.h>
#include <string_view>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{
// The pauses between looks at a child whose streams have ended.
constexpr std::chrono::microseconds kFirstPause(200);
constexpr std::chrono::milliseconds kLongestPause(50);
// What the child reports, through a pipe of its own, when it cannot start.
constexpr int kStartFailedStatus = 127;
// How much of the standard output is read at once.
constexpr std::size_t kOutputChunkSize = 65536;

// Everything the child needs, made before the fork: between fork and exec
// only async-signal-safe calls may be made.
struct CStartPlan
{
    std::string program;
    std::vector<char*> argv;
    // A copy of the program's environment with the request's settings; null
    // for the program's own.
    char** environment = nullptr;
    std::vector<std::string> environmentEntries;
    std::vector<char*> envp;
    const char* workingFolder = nullptr;
    pid_t parent = 0;
    int errorStream = -1;
    int outputStream = -1;
    int startReport = -1;
    sigset_t originalMask;
};

[[noreturn]] void FailStart(const CStartPlan& plan)
{
    int error = errno;
    ssize_t ignored = ::write(plan.startReport, &error, sizeof error);
    (void)ignored;
    ::_exit(kStartFailedStatus);
}

// The child's side of the fork.
[[noreturn]] void StartChild(const CStartPlan& plan)
{
    // Its own process group, so that whatever it starts ends with it; and
    // killed when the thread that started it ends, with the program or not.
    ::setpgid(0, 0);
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        FailStart(plan);
    // The thread that started it is gone already: nobody waits for it.
    if (::getppid() != plan.parent)
        ::_exit(kStartFailedStatus);
    ::dup2(plan.errorStream, STDERR_FILENO);
    ::dup2(plan.outputStream, STDOUT_FILENO);
    if (plan.workingFolder && ::chdir(plan.workingFolder) != 0)
        FailStart(plan);
    // A fresh program's dispositions and mask: no handler of ours may run
    // here, a broken pipe ends the child rather than being ignored, and
    // signals that the starting thread holds back (a command's workers
    // leave SIGINT to its main thread) reach the tool.
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &byDefault, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(plan.program.c_str(), plan.argv.data(), plan.environment ? plan.environment : environ);
    FailStart(plan);
}

bool IsSettingOf(std::string_view entry, const std::string& name)
{
    return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
           entry[name.size()] == '=';
}

// Copies the program's environment with the request's settings in place of
// its own values of those names, or after them.
void PlanEnvironment(const CChildRequest& request, CStartPlan& plan)
{
    if (request.environment.empty())
        return;
    for (char** entry = environ; *entry; ++entry)
    {
        bool replaced = false;
        for (const auto& setting : request.environment)
            replaced = replaced || IsSettingOf(*entry, setting.first);
        if (!replaced)
            plan.environmentEntries.emplace_back(*entry);
    }
    for (const auto& [name, value] : request.environment)
        plan.environmentEntries.push_back(name + "=" + value);
    for (std::string& entry : plan.environmentEntries)
        plan.envp.push_back(entry.data());
    plan.envp.push_back(nullptr);
    plan.environment = plan.envp.data();
}

// Forks with every signal blocked, so that no handler of the program runs in
// the child before its dispositions are reset. Returns 0 or the error number.
int Fork(CStartPlan& plan, pid_t& pid)
{
    sigset_t all;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &plan.originalMask);
    pid = ::fork();
    if (pid == 0)
        StartChild(plan);
    int error = pid < 0 ? errno : 0;
    ::pthread_sigmask(SIG_SETMASK, &plan.originalMask, nullptr);
    return error;
}

// After exec the report pipe closes unread; before, it carries the reason.
int StartError(int startReport)
{
    int error = 0;
    for (;;)
    {
        ssize_t count = ::read(startReport, &error, sizeof error);
        if (count < 0 && errno == EINTR)
            continue;
        return count == static_cast<ssize_t>(sizeof error) ? error : 0;
    }
}

void RecordEnd(int status, CChildResult& result)
{
    if (WIFEXITED(status))
        result.nExitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.nSignal = WTERMSIG(status);
}

// A forked child's streams, read with poll, and its end, awaited with
// waitpid.
class CForkedChild : public CChildControl
{
public:
    CForkedChild(pid_t pid, CFileDescriptor& errorStream, CFileDescriptor& outputStream)
        : m_pid(pid), m_streams{&errorStream, &outputStream}, m_output(kOutputChunkSize, '\0')
    {
    }

    bool IsOpen(EStream stream) const override { return Stream(stream).IsOpen(); }

    bool AwaitStreams(long long milliseconds, bool ready[2], int& error) override
    {
        pollfd streams[2] = {{m_streams[0]->Get(), POLLIN, 0}, {m_streams[1]->Get(), POLLIN, 0}};
        int count = ::poll(streams, 2, static_cast<int>(milliseconds));
        if (count < 0 && errno != EINTR)
        {
            error = errno;
            return false;
        }
        for (int i = 0; i < 2 && count > 0; ++i)
            ready[i] = streams[i].revents != 0;
        return true;
    }

    int Read(EStream stream, std::string_view& bytes) override
    {
        bool bErrorStream = stream == EStream::Error;
        char* buffer = bErrorStream ? m_error : m_output.data();
        ssize_t count = ::read(Stream(stream).Get(), buffer,
                               bErrorStream ? CChildProcess::kChunkSize : m_output.size());
        bytes = {};
        if (count > 0)
            bytes = std::string_view(buffer, static_cast<std::size_t>(count));
        else if (count == 0)
            Stream(stream).Close();
        else if (errno != EINTR)
            return errno;
        return 0;
    }

    void Kill() override { ::kill(-m_pid, SIGKILL); }

    // Looks at the child without waiting until it was killed: waitpid has
    // no time limit. Between looks it pauses, longer each time.
    EEnd AwaitEnd(long long, bool bKilled, CChildResult& result) override
    {
        if (!bKilled && m_pause.count() > 0)
        {
            std::this_thread::sleep_for(m_pause);
            m_pause = std::min<std::chrono::microseconds>(m_pause * 2, kLongestPause);
        }
        for (;;)
        {
            int status = 0;
            pid_t ended = ::waitpid(m_pid, &status, bKilled ? 0 : WNOHANG);
            if (ended == m_pid)
            {
                RecordEnd(status, result);
                return EEnd::Ended;
            }
            if (ended < 0 && errno != EINTR)
                return EEnd::Lost;
            if (ended == 0)
            {
                if (m_pause.count() == 0)
                    m_pause = kFirstPause;
                return EEnd::Running;
            }
        }
    }

    void CloseStreams()
    {
        m_streams[0]->Close();
        m_streams[1]->Close();
    }

private:
    CFileDescriptor& Stream(EStream stream) const { return *m_streams[static_cast<int>(stream)]; }

    pid_t m_pid;
    CFileDescriptor* m_streams[2];
    char m_error[CChildProcess::kChunkSize];
    std::string m_output;
    std::chrono::microseconds m_pause{0};
};
} // namespace

CChildResult CChildProcess::Run(const CChildRequest& request)
{
    CPipe errorPipe;
    CPipe outputPipe;
    CPipe startPipe;
    for (CPipe* pipe : {&errorPipe, &outputPipe, &startPipe})
    {
        if (int error = pipe->Open())
            return CRunningChild::Failure(CChildResult::EFailure::Pipe, error);
    }

    CStartPlan plan;
    if (int error = CExecutables::Find(request.arguments.front(), plan.program))
        return CRunningChild::Failure(CChildResult::EFailure::Start, error);
    for (const std::string& argument : request.arguments)
        plan.argv.push_back(const_cast<char*>(argument.c_str()));
    plan.argv.push_back(nullptr);
    PlanEnvironment(request, plan);
    plan.workingFolder = request.workingFolder.empty() ? nullptr : request.workingFolder.c_str();
    plan.parent = ::getpid();
    plan.errorStream = errorPipe.writeEnd.Get();
    plan.outputStream = outputPipe.writeEnd.Get();
    plan.startReport = startPipe.writeEnd.Get();

    pid_t pid = 0;
    if (int error = Fork(plan, pid))
        return CRunningChild::Failure(CChildResult::EFailure::Start, error);

    // Without this the pipes would never end: our own write ends keep them
    // open.
    errorPipe.writeEnd.Close();
    outputPipe.writeEnd.Close();
    startPipe.writeEnd.Close();

    CChildResult result;
    if (int error = StartError(startPipe.readEnd.Get()))
    {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR)
        {
        }
        return CRunningChild::Failure(CChildResult::EFailure::Start, error);
    }
    CForkedChild forked(pid, errorPipe.readEnd, outputPipe.readEnd);
    CRunningChild child(forked, request, result);
    child.ReadStreams();
    forked.CloseStreams();
    child.Wait();
    return result;
}
