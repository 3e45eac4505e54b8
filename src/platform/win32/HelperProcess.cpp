// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelperProcess.h"

#include <windows.h>

// Windows has no helper to start yet: the program's helpers are built with
// libraries it lacks there.
class CHelperProcess::CImpl
{
};

CHelperProcess::CHelperProcess() = default;
CHelperProcess::~CHelperProcess() = default;

int CHelperProcess::Start(const std::vector<std::string>&)
{
    return ERROR_NOT_SUPPORTED;
}

bool CHelperProcess::Send(std::string_view)
{
    return false;
}

CHelperProcess::EReceived CHelperProcess::Receive(long long, std::string&, int&)
{
    return EReceived::End;
}

bool CHelperProcess::IsAlive()
{
    return false;
}

void CHelperProcess::Kill() {}

void CHelperProcess::Reap(CChildResult&) {}

long CHelperProcess::ProcessId() const
{
    return 0;
}
