// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WorkerProcess.h"

#include <windows.h>

// Windows has no poppler library for a worker to be built with: every
// conversion runs the tool.
class CWorkerProcess::CImpl
{
};

CWorkerProcess::CWorkerProcess() = default;
CWorkerProcess::~CWorkerProcess() = default;

int CWorkerProcess::Start(const std::vector<std::string>&)
{
    return ERROR_NOT_SUPPORTED;
}

CChildResult CWorkerProcess::Run(const std::vector<std::string>&, const CChildRequest&,
                                 bool& bUnsupported)
{
    bUnsupported = true;
    return {};
}

bool CWorkerProcess::IsAlive()
{
    return false;
}

int CWorkerProcess::FilesDone() const
{
    return 0;
}

long CWorkerProcess::ProcessId() const
{
    return 0;
}
