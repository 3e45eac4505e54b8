// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildJob.h"

namespace
{
// How long the ended processes of a run ended early get to be gone.
constexpr int kEndWaitRounds = 200;
constexpr DWORD kEndWaitMilliseconds = 10;
} // namespace

CChildJob::CChildJob() : m_job(::CreateJobObjectW(nullptr, nullptr))
{
    if (!m_job.IsValid())
        return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation, &limits,
                              sizeof limits);
}

void CChildJob::Adopt(const PROCESS_INFORMATION& started)
{
    m_process.reset(new CHandle(started.hProcess));
    CHandle thread(started.hThread);
    m_bInJob = m_job.IsValid() && ::AssignProcessToJobObject(m_job.Get(), started.hProcess);
    ::ResumeThread(thread.Get());
}

void CChildJob::End() const
{
    if (m_bInJob)
        ::TerminateJobObject(m_job.Get(), 1);
    else
        ::TerminateProcess(Process(), 1);
    ::WaitForSingleObject(Process(), INFINITE);
    for (int round = 0; m_bInJob && round < kEndWaitRounds && ActiveProcesses() > 0; ++round)
        ::Sleep(kEndWaitMilliseconds);
}

DWORD CChildJob::ActiveProcesses() const
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!::QueryInformationJobObject(m_job.Get(), JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr))
        return 0;
    return accounting.ActiveProcesses;
}
