// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunningChild.h"

CRunningChild::CRunningChild(CChildControl& control, const CChildRequest& request,
                             CChildResult& result)
    : m_control(control), m_request(request), m_result(result),
      m_limits(request.cancel, request.nTimeLimitSeconds)
{
}

void CRunningChild::ReadStreams()
{
    using EStream = CChildControl::EStream;
    while (m_control.IsOpen(EStream::Error) || m_control.IsOpen(EStream::Output))
    {
        if (EndedEarly())
            return;
        bool ready[2] = {false, false};
        int error = 0;
        if (!m_control.AwaitStreams(m_limits.WaitMilliseconds(), ready, error))
            return Fail(CChildResult::EFailure::Read, error);
        for (EStream stream : {EStream::Error, EStream::Output})
        {
            if (ready[static_cast<int>(stream)] && !Take(stream))
                return;
        }
    }
}

void CRunningChild::Wait()
{
    for (;;)
    {
        long long wait = m_bKilled ? -1 : m_limits.WaitMilliseconds();
        if (m_control.AwaitEnd(wait, m_bKilled, m_result) != CChildControl::EEnd::Running)
            return;
        EndedEarly();
    }
}

CChildResult CRunningChild::Failure(CChildResult::EFailure failure, int error)
{
    CChildResult result;
    result.eFailure = failure;
    result.nErrorCode = error;
    return result;
}

bool CRunningChild::EndedEarly()
{
    if (!m_bKilled && m_limits.Reached(m_result))
        Kill();
    return m_bKilled;
}

void CRunningChild::Kill()
{
    m_control.Kill();
    m_bKilled = true;
}

void CRunningChild::Fail(CChildResult::EFailure failure, int error)
{
    Kill();
    m_result.eFailure = failure;
    m_result.nErrorCode = error;
}

bool CRunningChild::Take(CChildControl::EStream stream)
{
    std::string_view bytes;
    if (int error = m_control.Read(stream, bytes))
    {
        Fail(CChildResult::EFailure::Read, error);
        return false;
    }
    if (bytes.empty())
        return true;
    if (stream == CChildControl::EStream::Error)
        CChildProcess::AppendChunk(m_result.strErrorOutput, bytes.data(), bytes.size());
    else if (m_request.onOutput)
    {
        if (int error = m_request.onOutput(bytes.data(), bytes.size()))
        {
            Fail(CChildResult::EFailure::Write, error);
            return false;
        }
    }
    return true;
}
