// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunLimits.h"

#include "ChildProcess.h"

#include <algorithm>

CRunLimits::CRunLimits(const CCancelFlag* cancel, int timeLimitSeconds)
    : m_pCancel(cancel),
      m_deadline(timeLimitSeconds > 0 ? CClock::now() + std::chrono::seconds(timeLimitSeconds)
                                      : CClock::time_point::max())
{
}

bool CRunLimits::Reached(CChildResult& result) const
{
    if (m_pCancel && m_pCancel->IsRequested())
        result.bCancelled = true;
    else if (CClock::now() >= m_deadline)
        result.bTimedOut = true;
    else
        return false;
    return true;
}

long long CRunLimits::WaitMilliseconds() const
{
    long long wait = m_pCancel ? kCancelPollMilliseconds : -1;
    if (m_deadline == CClock::time_point::max())
        return wait;
    long long left =
        std::chrono::ceil<std::chrono::milliseconds>(m_deadline - CClock::now()).count();
    left = std::max<long long>(left, 0);
    return wait < 0 ? left : std::min(wait, left);
}
