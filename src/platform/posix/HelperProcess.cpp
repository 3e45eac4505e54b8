// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelperProcess.h"

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
constexpr std::size_t kReadChunkSize = 65536;

// Where the helper's own error stream goes: what it has to report it says
// over its stream.
constexpr const char* kNullDevice = "/dev/null";

void WaitForEnd(pid_t pid, CChildResult* result)
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

class CHelperProcess::CImpl
{
public:
    ~CImpl() { End(nullptr); }

    // The helper leads a process group of its own, with a fresh program's
    // signal dispositions and mask, its stream as standard input and output.
    int Spawn(const std::vector<std::string>& arguments, int helperEnd);
    // Closes the stream and waits for the helper's end: killed first, with
    // anything it started, unless `result` is to take how it ended.
    void End(CChildResult* result);

    int m_nStream = -1;
    pid_t m_pid = 0;
};

int CHelperProcess::CImpl::Spawn(const std::vector<std::string>& arguments, int helperEnd)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    ::posix_spawn_file_actions_adddup2(&actions, helperEnd, STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, helperEnd, STDOUT_FILENO);
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

void CHelperProcess::CImpl::End(CChildResult* result)
{
    if (m_nStream >= 0)
        ::close(m_nStream);
    m_nStream = -1;
    if (m_pid != 0)
    {
        if (!result)
            ::kill(-m_pid, SIGKILL);
        WaitForEnd(m_pid, result);
    }
    m_pid = 0;
}

CHelperProcess::CHelperProcess() : m_pImpl(std::make_unique<CImpl>()) {}

CHelperProcess::~CHelperProcess() = default;

int CHelperProcess::Start(const std::vector<std::string>& arguments)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errno;
    m_pImpl->m_nStream = ends[0];
    int error = m_pImpl->Spawn(arguments, ends[1]);
    ::close(ends[1]);
    if (error != 0)
    {
        ::close(m_pImpl->m_nStream);
        m_pImpl->m_nStream = -1;
    }
    return error;
}

bool CHelperProcess::Send(std::string_view bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size())
    {
        // No SIGPIPE when the helper has gone: the send fails instead.
        ssize_t count =
            ::send(m_pImpl->m_nStream, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

CHelperProcess::EReceived CHelperProcess::Receive(long long milliseconds, std::string& bytes,
                                                  int& error)
{
    pollfd stream{m_pImpl->m_nStream, POLLIN, 0};
    int ready = ::poll(&stream, 1, static_cast<int>(milliseconds));
    if (ready < 0 && errno != EINTR)
    {
        error = errno;
        return EReceived::WaitFailed;
    }
    if (ready <= 0)
        return EReceived::Nothing;
    bytes.resize(kReadChunkSize);
    for (;;)
    {
        ssize_t count = ::read(m_pImpl->m_nStream, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
        {
            error = errno;
            return EReceived::ReadFailed;
        }
        bytes.resize(static_cast<std::size_t>(count));
        return count == 0 ? EReceived::End : EReceived::Bytes;
    }
}

bool CHelperProcess::IsAlive()
{
    if (m_pImpl->m_pid == 0)
        return false;
    int status = 0;
    if (::waitpid(m_pImpl->m_pid, &status, WNOHANG) == 0)
        return true;
    m_pImpl->m_pid = 0;
    m_pImpl->End(nullptr);
    return false;
}

void CHelperProcess::Kill()
{
    m_pImpl->End(nullptr);
}

void CHelperProcess::Reap(CChildResult& result)
{
    m_pImpl->End(&result);
}

long CHelperProcess::ProcessId() const
{
    return static_cast<long>(m_pImpl->m_pid);
}
