// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Handle.h"

#include <memory>
#include <windows.h>

// The started child and the job that holds it and everything it starts.
// Closing the job ends whatever is still in it.
class CChildJob
{
public:
    CChildJob();

    // Takes over a child started suspended and lets it run.
    void Adopt(const PROCESS_INFORMATION& started);

    HANDLE Process() const { return m_process->Get(); }

    // Ends the child and, through the job, whatever it started, and waits
    // until they are gone, so that the files they held can be removed.
    void End() const;

private:
    DWORD ActiveProcesses() const;

    CHandle m_job;
    std::unique_ptr<CHandle> m_process;
    bool m_bInJob = false;
};
