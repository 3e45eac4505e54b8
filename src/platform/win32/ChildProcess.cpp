// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "platform/RunLimits.h"

#include "WideText.h"
#include "platform/WindowsCommandLine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>
#include <windows.h>

namespace
{
// How long the ended processes of a run ended early get to be gone.
constexpr int kEndWaitRounds = 200;
constexpr DWORD kEndWaitMilliseconds = 10;
// How much of the standard output is read at once.
constexpr std::size_t kOutputChunkSize = 65536;
// What a pipe holds before its writer waits.
constexpr DWORD kPipeBufferSize = 65536;

class CHandle
{
public:
    explicit CHandle(HANDLE handle = nullptr) : m_hHandle(handle) {}
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    HANDLE Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle && m_hHandle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle)
    {
        Close();
        m_hHandle = handle;
    }
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
    explicit CInheritedHandles(const std::array<HANDLE, 3>& handles) : m_handles(handles)
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
        if (!::UpdateProcThreadAttribute(m_pList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                         m_handles.data(), sizeof(HANDLE) * m_handles.size(),
                                         nullptr, nullptr))
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
    std::array<HANDLE, 3> m_handles;
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

// One stream of the child through a named pipe of its own, read with
// overlapped reads: each read ends by setting an event, so that one wait
// covers both streams, a cancel and the time, and what arrives is handed on
// at once, on the thread that runs the child. The child's end is an
// ordinary synchronous handle.
class CPipeReader
{
public:
    explicit CPipeReader(std::size_t chunkSize) : m_buffer(chunkSize) {}
    CPipeReader(const CPipeReader&) = delete;
    CPipeReader& operator=(const CPipeReader&) = delete;
    // A read under way would go on writing into the buffer.
    ~CPipeReader()
    {
        if (!m_bPending)
            return;
        DWORD ignored = 0;
        ::CancelIoEx(m_ownEnd.Get(), &m_overlapped);
        ::GetOverlappedResult(m_ownEnd.Get(), &m_overlapped, &ignored, TRUE);
    }

    // Makes the pipe, under a name of its own: never one another program
    // made. Returns 0 or the system's error number.
    DWORD Open()
    {
        static std::atomic<unsigned> s_nPipes{0};
        std::wstring name = L"\\\\.\\pipe\\zelto-" + std::to_wstring(::GetCurrentProcessId()) +
                            L"-" + std::to_wstring(++s_nPipes);
        m_ownEnd.Reset(::CreateNamedPipeW(name.c_str(),
                                          PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                                              FILE_FLAG_FIRST_PIPE_INSTANCE,
                                          PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                          1, 0, kPipeBufferSize, 0, nullptr));
        if (!m_ownEnd.IsValid())
            return ::GetLastError();
        SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        m_childEnd.Reset(::CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                                       &inheritable, OPEN_EXISTING, 0, nullptr));
        if (!m_childEnd.IsValid())
            return ::GetLastError();
        m_event.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!m_event.IsValid())
            return ::GetLastError();
        m_overlapped.hEvent = m_event.Get();
        return 0;
    }

    HANDLE ChildEnd() const { return m_childEnd.Get(); }
    void CloseChildEnd() { m_childEnd.Close(); }
    // Whether the stream has not ended yet.
    bool IsOpen() const { return m_ownEnd.IsValid(); }

    // Starts a read unless one is under way; gives the event set when it
    // ends.
    HANDLE Request()
    {
        if (m_bPending)
            return m_event.Get();
        m_bPending = true;
        if (::ReadFile(m_ownEnd.Get(), m_buffer.data(), static_cast<DWORD>(m_buffer.size()),
                       nullptr, &m_overlapped))
            ::SetEvent(m_event.Get());
        else if (DWORD error = ::GetLastError(); error != ERROR_IO_PENDING)
        {
            m_bPending = false;
            m_nFailure = error;
            ::SetEvent(m_event.Get());
        }
        return m_event.Get();
    }

    // The bytes of the read that ended: none, with the stream closed, at its
    // end. Returns 0 or the system's error number.
    DWORD Take(std::string_view& bytes)
    {
        DWORD count = 0;
        DWORD error = std::exchange(m_nFailure, 0);
        if (m_bPending && !::GetOverlappedResult(m_ownEnd.Get(), &m_overlapped, &count, FALSE))
            error = ::GetLastError();
        m_bPending = false;
        if (error == ERROR_BROKEN_PIPE)
        {
            m_ownEnd.Close();
            error = 0;
            count = 0;
        }
        bytes = std::string_view(m_buffer.data(), error == 0 ? count : 0);
        return error;
    }

private:
    CHandle m_ownEnd;
    CHandle m_childEnd;
    CHandle m_event;
    OVERLAPPED m_overlapped = {};
    std::vector<char> m_buffer;
    bool m_bPending = false;
    DWORD m_nFailure = 0;
};

// The streams of one running child, read until both end, and how the run
// may be ended early.
class CRunningChild
{
public:
    CRunningChild(const CChildJob& job, const CChildRequest& request, CChildResult& result)
        : m_job(job), m_request(request), m_result(result),
          m_limits(request.cancel, request.nTimeLimitSeconds)
    {
    }

    // Reads both streams to their end, or until the run is ended.
    void ReadStreams(CPipeReader& errors, CPipeReader& output)
    {
        while (errors.IsOpen() || output.IsOpen())
        {
            if (EndedEarly())
                return;
            CPipeReader* readers[2];
            HANDLE events[2];
            DWORD count = 0;
            for (CPipeReader* reader : {&errors, &output})
            {
                if (reader->IsOpen())
                {
                    readers[count] = reader;
                    events[count++] = reader->Request();
                }
            }
            DWORD waited = ::WaitForMultipleObjects(count, events, FALSE, WaitMilliseconds());
            if (waited == WAIT_TIMEOUT)
                continue;
            if (waited >= WAIT_OBJECT_0 + count)
                return Fail(CChildResult::EFailure::Read, ::GetLastError());
            CPipeReader& ready = *readers[waited - WAIT_OBJECT_0];
            if (!Take(ready, &ready == &output))
                return;
        }
    }

    // Waits for the child's end, which follows the end of its streams at
    // once unless something it started keeps them open.
    void Wait()
    {
        for (;;)
        {
            DWORD waited =
                ::WaitForSingleObject(m_job.Process(), m_bKilled ? INFINITE : WaitMilliseconds());
            if (waited != WAIT_TIMEOUT)
                return RecordEnd(waited);
            EndedEarly();
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
        m_job.End();
        m_bKilled = true;
    }

    void Fail(CChildResult::EFailure failure, DWORD error)
    {
        Kill();
        m_result.eFailure = failure;
        m_result.nErrorCode = static_cast<int>(error);
    }

    // Short of INFINITE unless nothing can end the run early, or the wait
    // would never come back to look at the limits.
    DWORD WaitMilliseconds() const
    {
        long long wait = m_limits.WaitMilliseconds();
        return wait < 0 ? INFINITE : static_cast<DWORD>(std::min<long long>(wait, INFINITE - 1));
    }

    // A killed child's exit code is only the one it was killed with; its
    // own stays unknown.
    void RecordEnd(DWORD waited)
    {
        DWORD exitCode = 0;
        if (waited == WAIT_OBJECT_0 && !m_bKilled &&
            ::GetExitCodeProcess(m_job.Process(), &exitCode))
            m_result.nExitStatus = static_cast<int>(exitCode);
    }

    // Hands on what one stream brought. Returns false when that ended the
    // run.
    bool Take(CPipeReader& stream, bool bOutput)
    {
        std::string_view bytes;
        if (DWORD error = stream.Take(bytes))
        {
            Fail(CChildResult::EFailure::Read, error);
            return false;
        }
        if (!bOutput)
            CChildProcess::AppendChunk(m_result.strErrorOutput, bytes.data(), bytes.size());
        else if (!bytes.empty() && m_request.onOutput)
        {
            if (int error = m_request.onOutput(bytes.data(), bytes.size()))
            {
                Fail(CChildResult::EFailure::Write, static_cast<DWORD>(error));
                return false;
            }
        }
        return true;
    }

    const CChildJob& m_job;
    const CChildRequest& m_request;
    CChildResult& m_result;
    CRunLimits m_limits;
    bool m_bKilled = false;
};

CChildResult Failure(CChildResult::EFailure failure, DWORD error)
{
    CChildResult result;
    result.eFailure = failure;
    result.nErrorCode = static_cast<int>(error);
    return result;
}

// Starts the program suspended, puts it in the job and lets it run, its
// error stream and standard output going to the given ends and its input
// coming from the null device.
CChildResult Start(const CChildRequest& request, HANDLE errorEnd, HANDLE outputEnd, CChildJob& job)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    // A window program has no console input to hand on.
    CHandle nullDevice(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!nullDevice.IsValid())
        return Failure(CChildResult::EFailure::Pipe, ::GetLastError());
    CInheritedHandles inherited({errorEnd, outputEnd, nullDevice.Get()});
    if (inherited.Error() != 0)
        return Failure(CChildResult::EFailure::Pipe, inherited.Error());

    std::wstring program;
    if (DWORD error = FindProgram(request.arguments.front(), program))
        return Failure(CChildResult::EFailure::Start, error);

    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = nullDevice.Get();
    startup.StartupInfo.hStdOutput = outputEnd;
    startup.StartupInfo.hStdError = errorEnd;
    startup.lpAttributeList = inherited.Get();
    std::wstring commandLine = CWideText::FromUtf8(CWindowsCommandLine::Build(request.arguments));
    std::wstring folder = CWideText::FromUtf8(request.workingFolder);

    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT,
                          nullptr, folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo,
                          &started))
        return Failure(CChildResult::EFailure::Start, ::GetLastError());
    job.Adopt(started);
    return CChildResult();
}
} // namespace

CChildResult CChildProcess::Run(const CChildRequest& request)
{
    CPipeReader errors(kChunkSize);
    CPipeReader output(kOutputChunkSize);
    for (CPipeReader* pipe : {&errors, &output})
    {
        if (DWORD error = pipe->Open())
            return Failure(CChildResult::EFailure::Pipe, error);
    }
    CChildJob job;
    CChildResult result = Start(request, errors.ChildEnd(), output.ChildEnd(), job);
    if (result.eFailure != CChildResult::EFailure::None)
        return result;

    // Without this the pipes would never end: our own ends for the child
    // keep them open.
    errors.CloseChildEnd();
    output.CloseChildEnd();

    CRunningChild child(job, request, result);
    child.ReadStreams(errors, output);
    child.Wait();
    return result;
}
