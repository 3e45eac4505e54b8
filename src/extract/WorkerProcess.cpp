// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerProcess.h"

#include "platform/RunLimits.h"

#include <cerrno>

namespace
{
// How long a worker may take to greet before it is taken as broken.
constexpr long long kGreetingMilliseconds = 10000;
// The exit status given to a request the worker left without an answer
// while it exited by itself: pdftotext's status for any other failure.
constexpr int kUnansweredStatus = 99;
} // namespace

int CWorkerProcess::Start(const std::vector<std::string>& arguments)
{
    if (int error = m_helper.Start(arguments))
        return error;
    // The greeting says the program is a worker and is ready.
    EWorkerFrame kind;
    std::string payload;
    while (!m_reader.Next(kind, payload))
    {
        int error = 0;
        if (m_helper.Receive(kGreetingMilliseconds, m_strChunk, error) !=
            CHelperProcess::EReceived::Bytes)
        {
            End();
            return ENOEXEC;
        }
        m_reader.Add(m_strChunk.data(), m_strChunk.size());
        if (m_reader.IsBroken())
        {
            End();
            return ENOEXEC;
        }
    }
    if (kind != EWorkerFrame::Hello || payload != CWorkerProtocol::kVersion)
    {
        End();
        return ENOEXEC;
    }
    return 0;
}

CChildResult CWorkerProcess::Run(const std::vector<std::string>& toolArguments,
                                 const CChildRequest& request,
                                 const std::vector<std::string>& passwords, EPdfLock& lock,
                                 std::vector<int>& unmappedFontPages, bool& bUnsupported)
{
    using EReceived = CHelperProcess::EReceived;
    lock = EPdfLock::Open;
    unmappedFontPages.clear();
    bUnsupported = m_helper.ProcessId() == 0;
    CChildResult result;
    if (bUnsupported)
        return result;
    CRunLimits limits(request.cancel, request.nTimeLimitSeconds);
    std::string frames;
    if (!passwords.empty())
        frames = CWorkerProtocol::PasswordsFrame(passwords);
    frames += CWorkerProtocol::RequestFrame(toolArguments);
    if (!m_helper.Send(frames))
    {
        EndUnanswered(result);
        return result;
    }
    while (!TakeFrames(request, result, lock, unmappedFontPages, bUnsupported))
    {
        if (limits.Reached(result))
        {
            End();
            return result;
        }
        int error = 0;
        EReceived received = m_helper.Receive(limits.WaitMilliseconds(), m_strChunk, error);
        if (received == EReceived::WaitFailed)
        {
            result.eFailure = CChildResult::EFailure::Read;
            result.nErrorCode = error;
            End();
            return result;
        }
        if (received == EReceived::Bytes)
            m_reader.Add(m_strChunk.data(), m_strChunk.size());
        // The worker died on the file, or its stream broke.
        if (received == EReceived::ReadFailed || received == EReceived::End || m_reader.IsBroken())
        {
            if (received == EReceived::ReadFailed)
            {
                result.eFailure = CChildResult::EFailure::Read;
                result.nErrorCode = error;
            }
            EndUnanswered(result);
            return result;
        }
    }
    return result;
}

bool CWorkerProcess::TakeFrames(const CChildRequest& request, CChildResult& result, EPdfLock& lock,
                                std::vector<int>& unmappedFontPages, bool& bUnsupported)
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
                    End();
                    result.eFailure = CChildResult::EFailure::Write;
                    result.nErrorCode = error;
                    return true;
                }
            }
            break;
        case EWorkerFrame::Report:
            result.strErrorOutput += payload;
            break;
        case EWorkerFrame::Lock:
            lock = CWorkerProtocol::Lock(payload).value_or(EPdfLock::Open);
            break;
        case EWorkerFrame::Fonts:
            unmappedFontPages = CWorkerProtocol::Pages(payload).value_or(std::vector<int>());
            break;
        case EWorkerFrame::End:
            result.nExitStatus = CWorkerProtocol::ExitStatus(payload);
            ++m_nFilesDone;
            return true;
        case EWorkerFrame::Unsupported:
            bUnsupported = true;
            return true;
        default:
            EndUnanswered(result);
            return true;
        }
    }
    return false;
}

bool CWorkerProcess::IsAlive()
{
    if (m_helper.IsAlive())
        return true;
    m_reader = CFrameReader();
    return false;
}

int CWorkerProcess::FilesDone() const
{
    return m_nFilesDone;
}

long CWorkerProcess::ProcessId() const
{
    return m_helper.ProcessId();
}

void CWorkerProcess::End()
{
    m_helper.Kill();
    m_reader = CFrameReader();
}

void CWorkerProcess::EndUnanswered(CChildResult& result)
{
    m_helper.Reap(result);
    m_reader = CFrameReader();
    if (result.nSignal == 0 && result.nExitStatus <= 0)
        result.nExitStatus = kUnansweredStatus;
}
