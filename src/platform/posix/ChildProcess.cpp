#include "platform/ChildProcess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
// How often a running child is checked for a cancel request.
constexpr int kCancelPollMilliseconds = 50;

class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor() { Close(); }

    int Get() const { return m_fd; }
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

class CSpawnAttributes
{
public:
    CSpawnAttributes()
    {
        m_nError = posix_spawnattr_init(&m_attributes);
        if (m_nError == 0)
            m_nError = posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETPGROUP);
        if (m_nError == 0)
            m_nError = posix_spawnattr_setpgroup(&m_attributes, 0);
    }
    ~CSpawnAttributes() { posix_spawnattr_destroy(&m_attributes); }
    CSpawnAttributes(const CSpawnAttributes&) = delete;
    CSpawnAttributes& operator=(const CSpawnAttributes&) = delete;

    int Error() const { return m_nError; }
    const posix_spawnattr_t* Get() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
    int m_nError;
};

class CSpawnActions
{
public:
    CSpawnActions() { m_nError = posix_spawn_file_actions_init(&m_actions); }
    ~CSpawnActions()
    {
        if (m_nError == 0)
            posix_spawn_file_actions_destroy(&m_actions);
    }
    CSpawnActions(const CSpawnActions&) = delete;
    CSpawnActions& operator=(const CSpawnActions&) = delete;

    int Error() const { return m_nError; }
    posix_spawn_file_actions_t* Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
    int m_nError;
};

// Finds a program the way the shell does: a name with a slash is used as it
// stands, any other is looked up along PATH. Looking it up here, rather than
// leaving it to the spawn call, gives a reliable error number when it is
// missing. Returns 0 or the error number (ENOENT, or EACCES when only
// files that may not be run were found).
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

void WaitForChild(pid_t pid, CChildResult& result)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
    {
        if (errno != EINTR)
            return;
    }
    if (WIFEXITED(status))
        result.nExitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.nSignal = WTERMSIG(status);
}

// Reads the error stream to its end. Returns 0, or the errno of a failed read.
int ReadToEnd(int fd, pid_t pid, const CCancelFlag* cancel, CChildResult& result)
{
    char chunk[CChildProcess::kChunkSize + 1];
    for (;;)
    {
        if (cancel)
        {
            if (cancel->IsRequested())
            {
                // The child leads its own process group, so whatever it
                // started ends with it.
                ::kill(-pid, SIGKILL);
                result.bCancelled = true;
                return 0;
            }
            pollfd waitFor{fd, POLLIN, 0};
            int ready = ::poll(&waitFor, 1, kCancelPollMilliseconds);
            if (ready == 0 || (ready < 0 && errno == EINTR))
                continue;
        }
        ssize_t count = ::read(fd, chunk, CChildProcess::kChunkSize);
        if (count > 0)
        {
            chunk[count] = '\0';
            CChildProcess::AppendChunk(result.strErrorOutput, chunk, static_cast<size_t>(count));
        }
        else if (count == 0)
        {
            return 0;
        }
        else if (errno != EINTR)
        {
            return errno;
        }
    }
}
} // namespace

CChildResult CChildProcess::Run(const std::vector<std::string>& arguments,
                                const std::string& workingFolder, const CCancelFlag* cancel)
{
    CChildResult result;
    int ends[2];
    // Close-on-exec keeps this pipe out of other children started at the
    // same time, whose error streams would otherwise never reach their end.
    if (::pipe2(ends, O_CLOEXEC) != 0)
    {
        result.eFailure = CChildResult::EFailure::Pipe;
        result.nErrorCode = errno;
        return result;
    }
    CFileDescriptor readEnd(ends[0]);
    CFileDescriptor writeEnd(ends[1]);

    CSpawnActions actions;
    CSpawnAttributes attributes;
    int error = actions.Error() != 0 ? actions.Error() : attributes.Error();
    if (error == 0)
        error = posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDERR_FILENO);
    if (error == 0 && !workingFolder.empty())
        error = posix_spawn_file_actions_addchdir_np(actions.Get(), workingFolder.c_str());
    if (error != 0)
    {
        result.eFailure = CChildResult::EFailure::Pipe;
        result.nErrorCode = error;
        return result;
    }

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    std::string program;
    error = FindProgram(arguments.front(), program);
    pid_t pid = 0;
    if (error == 0)
        error = ::posix_spawn(&pid, program.c_str(), actions.Get(), attributes.Get(), argv.data(),
                              environ);
    if (error != 0)
    {
        result.eFailure = CChildResult::EFailure::Start;
        result.nErrorCode = error;
        return result;
    }

    // Without this the pipe would never end: our own write end keeps it open.
    writeEnd.Close();

    int readError = ReadToEnd(readEnd.Get(), pid, cancel, result);
    readEnd.Close();
    if (readError != 0)
    {
        ::kill(-pid, SIGKILL);
        result.eFailure = CChildResult::EFailure::Read;
        result.nErrorCode = readError;
    }
    WaitForChild(pid, result);
    return result;
}
