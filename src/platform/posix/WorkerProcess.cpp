// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WorkerProcess.h"

#include "extract/WorkerProtocol.h"
#include "platform/RunLimits.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
// How long a worker may take to greet before it is taken as broken.
constexpr int kGreetingMilliseconds = 10000;
constexpr std::size_t kReadChunkSize = 65536;
// The exit status given to a request the worker left without an answer
// while it exited by itself: pdftotext's status for any other failure.
constexpr int kUnansweredStatus = 99;

// Where the worker's own error stream goes: what poppler reports reaches
// the program in frames, anything else is not the tool's.
constexpr const char* kNullDevice = "/dev/null";

void Reap(pid_t pid, CChildResult* result)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
    {
        if (errno != EINTR)
            return;
    }
    if (!result)
        return;
    if (WIFEXITED(status))
        result->nExitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result->nSignal = WTERMSIG(status);
}
} // namespace

class CWorkerProcess::CImpl
{
public:
    ~CImpl() { End(nullptr); }

    int Start(const std::vector<std::string>& arguments);
    CChildResult Run(const std::vector<std::string>& toolArguments, const CChildRequest& request,
                     bool& bUnsupported);
    bool IsAlive();

    int m_nFilesDone = 0;
    pid_t m_pid = 0;

private:
    int Spawn(const std::vector<std::string>& arguments, int workerEnd);
    bool SendAll(const std::string& bytes);
    // Reads what has arrived into the frame reader; false at the stream's
    // end or on a failure (with `error` set for a failure).
    bool ReadSome(int& error);
    // Kills the worker, if running, and waits for its end.
    void End(CChildResult* result);
    // Ends a worker that left a request without its answer, and tells how:
    // by a signal, or by an exit that can never read as success.
    void EndUnanswered(CChildResult& result);

    int m_nStream = -1;
    CFrameReader m_reader;
};

int CWorkerProcess::CImpl::Start(const std::vector<std::string>& arguments)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errno;
    m_nStream = ends[0];
    int error = Spawn(arguments, ends[1]);
    ::close(ends[1]);
    if (error != 0)
    {
        ::close(m_nStream);
        m_nStream = -1;
        return error;
    }
    // The greeting says the program is a worker and is ready.
    EWorkerFrame kind;
    std::string payload;
    while (!m_reader.Next(kind, payload))
    {
        pollfd stream{m_nStream, POLLIN, 0};
        int readError = 0;
        if (::poll(&stream, 1, kGreetingMilliseconds) <= 0 || !ReadSome(readError))
        {
            End(nullptr);
            return ENOEXEC;
        }
    }
    if (kind != EWorkerFrame::Hello || payload != CWorkerProtocol::kVersion)
    {
        End(nullptr);
        return ENOEXEC;
    }
    return 0;
}

// The worker leads a process group of its own, with a fresh program's
// signal dispositions and mask, its stream as standard input and output.
int CWorkerProcess::CImpl::Spawn(const std::vector<std::string>& arguments, int workerEnd)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    ::posix_spawn_file_actions_adddup2(&actions, workerEnd, STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, workerEnd, STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, kNullDevice, O_WRONLY, 0);
    sigset_t none;
    sigset_t all;
    ::sigemptyset(&none);
    ::sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &all);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                POSIX_SPAWN_SETPGROUP);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int error = ::posix_spawn(&m_pid, arguments.front().c_str(), &actions, &attributes, argv.data(),
                              environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    if (error != 0)
        m_pid = 0;
    return error;
}

CChildResult CWorkerProcess::CImpl::Run(const std::vector<std::string>& toolArguments,
                                        const CChildRequest& request, bool& bUnsupported)
{
    CChildResult result;
    CRunLimits limits(request.cancel, request.nTimeLimitSeconds);
    if (!SendAll(CWorkerProtocol::RequestFrame(toolArguments)))
    {
        EndUnanswered(result);
        return result;
    }
    for (;;)
    {
        EWorkerFrame kind;
        std::string payload;
        while (m_reader.Next(kind, payload))
        {
            switch (kind)
            {
            case EWorkerFrame::Text:
                if (request.onOutput)
                {
                    if (int error = request.onOutput(payload.data(), payload.size()))
                    {
                        End(nullptr);
                        result.eFailure = CChildResult::EFailure::Write;
                        result.nErrorCode = error;
                        return result;
                    }
                }
                break;
            case EWorkerFrame::Report:
                result.strErrorOutput += payload;
                break;
            case EWorkerFrame::End:
                result.nExitStatus = CWorkerProtocol::ExitStatus(payload);
                ++m_nFilesDone;
                return result;
            case EWorkerFrame::Unsupported:
                bUnsupported = true;
                return result;
            default:
                EndUnanswered(result);
                return result;
            }
        }
        if (limits.Reached(result))
        {
            End(nullptr);
            return result;
        }
        pollfd stream{m_nStream, POLLIN, 0};
        int ready = ::poll(&stream, 1, static_cast<int>(limits.WaitMilliseconds()));
        if (ready < 0 && errno != EINTR)
        {
            result.eFailure = CChildResult::EFailure::Read;
            result.nErrorCode = errno;
            End(nullptr);
            return result;
        }
        int error = 0;
        if (ready > 0 && !ReadSome(error))
        {
            // The worker died on the file, or its stream broke.
            if (error != 0)
            {
                result.eFailure = CChildResult::EFailure::Read;
                result.nErrorCode = error;
            }
            EndUnanswered(result);
            return result;
        }
    }
}

bool CWorkerProcess::CImpl::SendAll(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size())
    {
        // No SIGPIPE when the worker has gone: the send fails instead.
        ssize_t count = ::send(m_nStream, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

bool CWorkerProcess::CImpl::ReadSome(int& error)
{
    char chunk[kReadChunkSize];
    for (;;)
    {
        ssize_t count = ::read(m_nStream, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            error = errno;
        if (count <= 0)
            return false;
        m_reader.Add(chunk, static_cast<std::size_t>(count));
        return !m_reader.IsBroken();
    }
}

bool CWorkerProcess::CImpl::IsAlive()
{
    if (m_pid == 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == 0)
        return true;
    m_pid = 0;
    End(nullptr);
    return false;
}

void CWorkerProcess::CImpl::EndUnanswered(CChildResult& result)
{
    End(&result);
    if (result.nSignal == 0 && result.nExitStatus <= 0)
        result.nExitStatus = kUnansweredStatus;
}

void CWorkerProcess::CImpl::End(CChildResult* result)
{
    if (m_nStream >= 0)
        ::close(m_nStream);
    m_nStream = -1;
    if (m_pid != 0)
    {
        // A worker that died already is only reaped; one that still runs is
        // ended first, with anything it may have started.
        if (!result)
            ::kill(-m_pid, SIGKILL);
        Reap(m_pid, result);
    }
    m_pid = 0;
    m_reader = CFrameReader();
}

CWorkerProcess::CWorkerProcess() : m_pImpl(std::make_unique<CImpl>()) {}

CWorkerProcess::~CWorkerProcess() = default;

int CWorkerProcess::Start(const std::vector<std::string>& arguments)
{
    return m_pImpl->Start(arguments);
}

CChildResult CWorkerProcess::Run(const std::vector<std::string>& toolArguments,
                                 const CChildRequest& request, bool& bUnsupported)
{
    bUnsupported = false;
    return m_pImpl->Run(toolArguments, request, bUnsupported);
}

bool CWorkerProcess::IsAlive()
{
    return m_pImpl->IsAlive();
}

int CWorkerProcess::FilesDone() const
{
    return m_pImpl->m_nFilesDone;
}

long CWorkerProcess::ProcessId() const
{
    return static_cast<long>(m_pImpl->m_pid);
}
