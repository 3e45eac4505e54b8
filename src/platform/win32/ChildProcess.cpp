// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"
#include "platform/Executables.h"
#include "platform/RunningChild.h"

#include "ChildJob.h"
#include "EnvironmentBlock.h"
#include "Handle.h"
#include "PipeReader.h"
#include "WideText.h"
#include "platform/WindowsCommandLine.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>
#include <windows.h>

namespace
{
// How much of the standard output is read at once.
constexpr std::size_t kOutputChunkSize = 65536;

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

// A child in its job, its two streams read through pipe readers, so that
// one wait covers both streams and the time.
class CJobChild : public CChildControl
{
public:
    CJobChild(const CChildJob& job, CPipeReader& errors, CPipeReader& output)
        : m_job(job), m_readers{&errors, &output}
    {
    }

    bool IsOpen(EStream stream) const override { return Reader(stream).IsOpen(); }

    bool AwaitStreams(long long milliseconds, bool ready[2], int& error) override
    {
        int streams[2];
        HANDLE events[2];
        DWORD count = 0;
        for (int i = 0; i < 2; ++i)
        {
            if (m_readers[i]->IsOpen())
            {
                streams[count] = i;
                events[count++] = m_readers[i]->Request();
            }
        }
        DWORD waited = ::WaitForMultipleObjects(count, events, FALSE, Wait(milliseconds));
        if (waited == WAIT_TIMEOUT)
            return true;
        if (waited >= WAIT_OBJECT_0 + count)
        {
            error = static_cast<int>(::GetLastError());
            return false;
        }
        ready[streams[waited - WAIT_OBJECT_0]] = true;
        return true;
    }

    int Read(EStream stream, std::string_view& bytes) override
    {
        return static_cast<int>(Reader(stream).Take(bytes));
    }

    void Kill() override { m_job.End(); }

    // A killed child's exit code is only the one it was killed with; its
    // own stays unknown.
    EEnd AwaitEnd(long long milliseconds, bool bKilled, CChildResult& result) override
    {
        DWORD waited =
            ::WaitForSingleObject(m_job.Process(), bKilled ? INFINITE : Wait(milliseconds));
        if (waited == WAIT_TIMEOUT)
            return EEnd::Running;
        DWORD exitCode = 0;
        if (waited == WAIT_OBJECT_0 && !bKilled && ::GetExitCodeProcess(m_job.Process(), &exitCode))
            result.nExitStatus = static_cast<int>(exitCode);
        return EEnd::Ended;
    }

private:
    CPipeReader& Reader(EStream stream) const { return *m_readers[static_cast<int>(stream)]; }

    // Short of INFINITE unless nothing can end the run early, or the wait
    // would never come back to look at the limits.
    static DWORD Wait(long long milliseconds)
    {
        return milliseconds < 0
                   ? INFINITE
                   : static_cast<DWORD>(std::min<long long>(milliseconds, INFINITE - 1));
    }

    const CChildJob& m_job;
    CPipeReader* m_readers[2];
};

CChildResult Failure(CChildResult::EFailure failure, DWORD error)
{
    return CRunningChild::Failure(failure, static_cast<int>(error));
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

    std::string found;
    if (int error = CExecutables::Find(request.arguments.front(), found))
        return CRunningChild::Failure(CChildResult::EFailure::Start, error);
    std::wstring program = CWideText::FromUtf8(found);

    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = nullDevice.Get();
    startup.StartupInfo.hStdOutput = outputEnd;
    startup.StartupInfo.hStdError = errorEnd;
    startup.lpAttributeList = inherited.Get();
    std::wstring commandLine = CWideText::FromUtf8(CWindowsCommandLine::Build(request.arguments));
    std::wstring folder = CWideText::FromUtf8(request.workingFolder);
    DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT;
    std::wstring environment;
    if (!request.environment.empty())
    {
        environment = CEnvironmentBlock::Make(request.environment);
        flags |= CREATE_UNICODE_ENVIRONMENT;
    }

    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                          environment.empty() ? nullptr : environment.data(),
                          folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo,
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

    CJobChild control(job, errors, output);
    CRunningChild child(control, request, result);
    child.ReadStreams();
    child.Wait();
    return result;
}
