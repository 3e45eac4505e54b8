#include "platform/ChildProcess.h"

#include "WideText.h"
#include "platform/WindowsCommandLine.h"

#include <algorithm>
#include <memory>
#include <windows.h>

namespace
{
// How often a running child is checked for a cancel request.
constexpr DWORD kCancelPollMilliseconds = 50;
// How long the ended processes of a cancelled run get to be gone.
constexpr int kEndWaitRounds = 200;
constexpr DWORD kEndWaitMilliseconds = 10;

class CHandle
{
public:
    explicit CHandle(HANDLE handle = nullptr) : m_hHandle(handle) {}
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    HANDLE Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle && m_hHandle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_hHandle);
        m_hHandle = nullptr;
    }

private:
    HANDLE m_hHandle;
};

// The handles a child may inherit, named one by one: a pipe made for one
// child must never reach another started at the same time, or its error
// stream would not end before that other child does.
class CInheritedHandles
{
public:
    CInheritedHandles(HANDLE first, HANDLE second) : m_handles{first, second}
    {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_pBuffer = std::make_unique<unsigned char[]>(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_pBuffer.get());
        if (!::InitializeProcThreadAttributeList(list, 1, 0, &size))
        {
            m_nError = ::GetLastError();
            return;
        }
        m_pList = list;
        if (!::UpdateProcThreadAttribute(m_pList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles,
                                         sizeof m_handles, nullptr, nullptr))
            m_nError = ::GetLastError();
    }
    ~CInheritedHandles()
    {
        if (m_pList)
            ::DeleteProcThreadAttributeList(m_pList);
    }
    CInheritedHandles(const CInheritedHandles&) = delete;
    CInheritedHandles& operator=(const CInheritedHandles&) = delete;

    DWORD Error() const { return m_nError; }
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return m_pList; }

private:
    HANDLE m_handles[2];
    std::unique_ptr<unsigned char[]> m_pBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_pList = nullptr;
    DWORD m_nError = 0;
};

// The started child and the job that holds it and everything it starts.
// Closing the job ends whatever is still in it.
class CChildJob
{
public:
    CChildJob() : m_job(::CreateJobObjectW(nullptr, nullptr))
    {
        if (!m_job.IsValid())
            return;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation, &limits,
                                  sizeof limits);
    }

    // Takes over a child started suspended and lets it run.
    void Adopt(const PROCESS_INFORMATION& started)
    {
        m_process.reset(new CHandle(started.hProcess));
        CHandle thread(started.hThread);
        m_bInJob = m_job.IsValid() && ::AssignProcessToJobObject(m_job.Get(), started.hProcess);
        ::ResumeThread(thread.Get());
    }

    HANDLE Process() const { return m_process->Get(); }

    // Ends the child and, through the job, whatever it started, and waits
    // until they are gone, so that the files they held can be removed.
    void End() const
    {
        if (m_bInJob)
            ::TerminateJobObject(m_job.Get(), 1);
        else
            ::TerminateProcess(Process(), 1);
        ::WaitForSingleObject(Process(), INFINITE);
        for (int round = 0; m_bInJob && round < kEndWaitRounds && ActiveProcesses() > 0; ++round)
            ::Sleep(kEndWaitMilliseconds);
    }

private:
    DWORD ActiveProcesses() const
    {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        if (!::QueryInformationJobObject(m_job.Get(), JobObjectBasicAccountingInformation,
                                         &accounting, sizeof accounting, nullptr))
            return 0;
        return accounting.ActiveProcesses;
    }

    CHandle m_job;
    std::unique_ptr<CHandle> m_process;
    bool m_bInJob = false;
};

bool HasFolderPart(const std::string& name)
{
    return name.find_first_of("/\\:") != std::string::npos;
}

bool HasExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    size_t folderEnd = name.find_last_of("/\\:");
    return dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring SearchPath()
{
    DWORD size = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(L"PATH", value.data(), size));
    return value;
}

// Finds a program the way the command prompt does for a name without a
// folder: along PATH, with ".exe" added when the name has no extension.
// Only PATH is searched, not the program's own or the system's folders, so
// the tool the person put on PATH is the one that runs. Returns 0 or the
// system's error number.
DWORD FindProgram(const std::string& name, std::wstring& found)
{
    std::wstring file = CWideText::FromUtf8(HasExtension(name) ? name : name + ".exe");
    if (HasFolderPart(name))
    {
        found = file;
        return 0;
    }
    std::wstring searchPath = SearchPath();
    size_t start = 0;
    while (start <= searchPath.size())
    {
        size_t end = std::min(searchPath.find(L';', start), searchPath.size());
        std::wstring folder = searchPath.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
        {
            if (folder.back() != L'\\' && folder.back() != L'/')
                folder += L'\\';
            if (IsFile(folder + file))
            {
                found = folder + file;
                return 0;
            }
        }
        start = end + 1;
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD EndOrError(DWORD error)
{
    return error == ERROR_BROKEN_PIPE ? 0 : error;
}

// Reads the error stream to its end. Returns 0, or the system's error
// number of a failed read. Without a cancel flag it simply blocks; with one,
// it waits for data or the child's end in short steps and looks at the flag
// in between, as a read from an anonymous pipe cannot be interrupted.
DWORD ReadToEnd(HANDLE pipe, const CChildJob& child, const CCancelFlag* cancel,
                CChildResult& result)
{
    char chunk[CChildProcess::kChunkSize + 1];
    for (;;)
    {
        DWORD wanted = CChildProcess::kChunkSize;
        if (cancel)
        {
            if (cancel->IsRequested())
            {
                child.End();
                result.bCancelled = true;
                return 0;
            }
            DWORD available = 0;
            if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
                return EndOrError(::GetLastError());
            if (available == 0)
            {
                ::WaitForSingleObject(child.Process(), kCancelPollMilliseconds);
                continue;
            }
            wanted = std::min<DWORD>(available, wanted);
        }
        DWORD count = 0;
        if (!::ReadFile(pipe, chunk, wanted, &count, nullptr))
            return EndOrError(::GetLastError());
        chunk[count] = '\0';
        CChildProcess::AppendChunk(result.strErrorOutput, chunk, count);
    }
}

CChildResult Failure(CChildResult::EFailure failure, DWORD error)
{
    CChildResult result;
    result.eFailure = failure;
    result.nErrorCode = static_cast<int>(error);
    return result;
}
} // namespace

CChildResult CChildProcess::Run(const std::vector<std::string>& arguments,
                                const std::string& workingFolder, const CCancelFlag* cancel)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readHandle = nullptr;
    HANDLE writeHandle = nullptr;
    if (!::CreatePipe(&readHandle, &writeHandle, &inheritable, 0))
        return Failure(CChildResult::EFailure::Pipe, ::GetLastError());
    CHandle readEnd(readHandle);
    CHandle writeEnd(writeHandle);
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    // A window program has no console streams to hand on.
    CHandle nullDevice(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                     OPEN_EXISTING, 0, nullptr));
    if (!nullDevice.IsValid())
        return Failure(CChildResult::EFailure::Pipe, ::GetLastError());
    CInheritedHandles inherited(writeEnd.Get(), nullDevice.Get());
    if (inherited.Error() != 0)
        return Failure(CChildResult::EFailure::Pipe, inherited.Error());

    std::wstring program;
    if (DWORD error = FindProgram(arguments.front(), program))
        return Failure(CChildResult::EFailure::Start, error);

    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = nullDevice.Get();
    startup.StartupInfo.hStdOutput = nullDevice.Get();
    startup.StartupInfo.hStdError = writeEnd.Get();
    startup.lpAttributeList = inherited.Get();
    std::wstring commandLine = CWideText::FromUtf8(CWindowsCommandLine::Build(arguments));
    std::wstring folder = CWideText::FromUtf8(workingFolder);

    CChildJob child;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT,
                          nullptr, folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo,
                          &started))
        return Failure(CChildResult::EFailure::Start, ::GetLastError());
    child.Adopt(started);

    // Without this the pipe would never end: our own write end keeps it open.
    writeEnd.Close();
    nullDevice.Close();

    CChildResult result;
    DWORD readError = ReadToEnd(readEnd.Get(), child, cancel, result);
    readEnd.Close();
    if (readError != 0)
    {
        child.End();
        result.eFailure = CChildResult::EFailure::Read;
        result.nErrorCode = static_cast<int>(readError);
    }
    ::WaitForSingleObject(child.Process(), INFINITE);
    DWORD exitCode = 0;
    if (!result.bCancelled && result.eFailure == CChildResult::EFailure::None &&
        ::GetExitCodeProcess(child.Process(), &exitCode))
        result.nExitStatus = static_cast<int>(exitCode);
    return result;
}
