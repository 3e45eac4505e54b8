// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "platform/RunLimits.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{
// The longest pause between looks at a child whose streams have ended.
constexpr std::chrono::milliseconds kLongestPause(50);
// What the child reports, through a pipe of its own, when it cannot start.
constexpr int kStartFailedStatus = 127;
// How much of the standard output is read at once.
constexpr std::size_t kOutputChunkSize = 65536;

class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor() { Close(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// A program started with a standard stream closed gets that number for a
// pipe; placing the child's streams would then overwrite it. So every end
// is moved above them. False, with errno, when that fails.
bool AboveStandardStreams(CFileDescriptor& end)
{
    if (end.Get() > STDERR_FILENO)
        return true;
    int moved = ::fcntl(end.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0)
        return false;
    end.Reset(moved);
    return true;
}

// A pipe whose two ends are closed on exec, so that a pipe made for one
// child never reaches another started at the same time, whose streams would
// otherwise not end before that other child does.
struct CPipe
{
    CFileDescriptor readEnd;
    CFileDescriptor writeEnd;

    int Open()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return errno;
        readEnd.Reset(ends[0]);
        writeEnd.Reset(ends[1]);
        bool placed = AboveStandardStreams(readEnd) && AboveStandardStreams(writeEnd);
        return placed ? 0 : errno;
    }
};

// Finds a program the way the shell does: a name with a slash is used as it
// stands, any other is looked up along PATH. Looking it up here, rather than
// leaving it to exec, gives a reliable error number when it is missing.
// Returns 0 or the error number (ENOENT, or EACCES when only files that may
// not be run were found).
int FindProgram(const std::string& name, std::string& found)
{
    if (name.find('/') != std::string::npos)
    {
        found = name;
        return 0;
    }
    const char* pathVariable = std::getenv("PATH");
    std::string searchPath = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    int error = ENOENT;
    size_t start = 0;
    for (;;)
    {
        size_t end = searchPath.find(':', start);
        std::string folder = searchPath.substr(start, end == std::string::npos ? end : end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        {
            if (::access(candidate.c_str(), X_OK) == 0)
            {
                found = candidate;
                return 0;
            }
            error = EACCES;
        }
        if (end == std::string::npos)
            return error;
        start = end + 1;
    }
}

// Everything the child needs, made before the fork: between fork and exec
// only async-signal-safe calls may be made.
struct CStartPlan
{
    std::string program;
    std::vector<char*> argv;
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
    ::execve(plan.program.c_str(), plan.argv.data(), environ);
    FailStart(plan);
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

// The streams of one running child, read until both end, and how the run
// may be ended early.
class CRunningChild
{
public:
    CRunningChild(pid_t pid, const CChildRequest& request, CChildResult& result)
        : m_pid(pid), m_request(request), m_result(result),
          m_limits(request.cancel, request.nTimeLimitSeconds)
    {
    }

    // Reads both streams to their end, or until the run is ended.
    void ReadStreams(CFileDescriptor& errorStream, CFileDescriptor& outputStream)
    {
        std::string output(kOutputChunkSize, '\0');
        while (errorStream.IsOpen() || outputStream.IsOpen())
        {
            if (EndedEarly())
                return;
            pollfd streams[2] = {{errorStream.Get(), POLLIN, 0}, {outputStream.Get(), POLLIN, 0}};
            int ready = ::poll(streams, 2, static_cast<int>(m_limits.WaitMilliseconds()));
            if (ready < 0 && errno != EINTR)
                return Fail(CChildResult::EFailure::Read, errno);
            if (ready <= 0)
                continue;
            if (streams[0].revents != 0 && !ReadError(errorStream))
                return;
            if (streams[1].revents != 0 && !ReadOutput(outputStream, output))
                return;
        }
    }

    // Waits for the child's end, which follows the end of its streams at
    // once unless something it started keeps them open.
    void Wait()
    {
        int status = 0;
        auto pause = std::chrono::microseconds(200);
        for (;;)
        {
            pid_t ended = ::waitpid(m_pid, &status, m_bKilled ? 0 : WNOHANG);
            if (ended == m_pid)
                return RecordEnd(status, m_result);
            if (ended < 0 && errno != EINTR)
                return;
            if (ended == 0 && !EndedEarly())
            {
                std::this_thread::sleep_for(pause);
                pause = std::min<std::chrono::microseconds>(pause * 2, kLongestPause);
            }
        }
    }

private:
    // Ends the child and everything it started when a cancel is requested
    // or its time is up.
    bool EndedEarly()
    {
        if (!m_bKilled && m_limits.Reached(m_result))
            Kill();
        return m_bKilled;
    }

    void Kill()
    {
        ::kill(-m_pid, SIGKILL);
        m_bKilled = true;
    }

    void Fail(CChildResult::EFailure failure, int error)
    {
        Kill();
        m_result.eFailure = failure;
        m_result.nErrorCode = error;
    }

    bool ReadError(CFileDescriptor& stream)
    {
        char chunk[CChildProcess::kChunkSize + 1];
        ssize_t count = ::read(stream.Get(), chunk, CChildProcess::kChunkSize);
        if (count > 0)
        {
            chunk[count] = '\0';
            CChildProcess::AppendChunk(m_result.strErrorOutput, chunk, static_cast<size_t>(count));
        }
        else if (count == 0)
            stream.Close();
        else if (errno != EINTR)
        {
            Fail(CChildResult::EFailure::Read, errno);
            return false;
        }
        return true;
    }

    bool ReadOutput(CFileDescriptor& stream, std::string& buffer)
    {
        ssize_t count = ::read(stream.Get(), buffer.data(), buffer.size());
        if (count == 0)
            stream.Close();
        if (count < 0 && errno != EINTR)
        {
            Fail(CChildResult::EFailure::Read, errno);
            return false;
        }
        if (count > 0 && m_request.onOutput)
        {
            if (int error = m_request.onOutput(buffer.data(), static_cast<std::size_t>(count)))
            {
                Fail(CChildResult::EFailure::Write, error);
                return false;
            }
        }
        return true;
    }

    pid_t m_pid;
    const CChildRequest& m_request;
    CChildResult& m_result;
    CRunLimits m_limits;
    bool m_bKilled = false;
};

CChildResult Failure(CChildResult::EFailure failure, int error)
{
    CChildResult result;
    result.eFailure = failure;
    result.nErrorCode = error;
    return result;
}
} // namespace

CChildResult CChildProcess::Run(const CChildRequest& request)
{
    CPipe errorPipe;
    CPipe outputPipe;
    CPipe startPipe;
    for (CPipe* pipe : {&errorPipe, &outputPipe, &startPipe})
    {
        if (int error = pipe->Open())
            return Failure(CChildResult::EFailure::Pipe, error);
    }

    CStartPlan plan;
    if (int error = FindProgram(request.arguments.front(), plan.program))
        return Failure(CChildResult::EFailure::Start, error);
    for (const std::string& argument : request.arguments)
        plan.argv.push_back(const_cast<char*>(argument.c_str()));
    plan.argv.push_back(nullptr);
    plan.workingFolder = request.workingFolder.empty() ? nullptr : request.workingFolder.c_str();
    plan.parent = ::getpid();
    plan.errorStream = errorPipe.writeEnd.Get();
    plan.outputStream = outputPipe.writeEnd.Get();
    plan.startReport = startPipe.writeEnd.Get();

    pid_t pid = 0;
    if (int error = Fork(plan, pid))
        return Failure(CChildResult::EFailure::Start, error);

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
        return Failure(CChildResult::EFailure::Start, error);
    }
    CRunningChild child(pid, request, result);
    child.ReadStreams(errorPipe.readEnd, outputPipe.readEnd);
    errorPipe.readEnd.Close();
    outputPipe.readEnd.Close();
    child.Wait();
    return result;
}
