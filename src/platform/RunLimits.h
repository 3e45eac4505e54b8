// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CancelFlag.h"

#include <chrono>

struct CChildResult;

// What may end a child's run early: a cancel request and a time limit,
// counted from when the object is made. Both systems' reading loops look at
// them between waits.
class CRunLimits
{
public:
    // `cancel` may be null; `timeLimitSeconds` 0 sets no limit.
    CRunLimits(const CCancelFlag* cancel, int timeLimitSeconds);

    // Whether the run is to end now; when it is, `result` says why.
    bool Reached(CChildResult& result) const;
    // How long a wait may last before the limits are looked at again, in
    // milliseconds; -1 when nothing can end the run early.
    long long WaitMilliseconds() const;

private:
    using CClock = std::chrono::steady_clock;
    // How often a running child is checked for a cancel request.
    static constexpr long long kCancelPollMilliseconds = 50;

    const CCancelFlag* m_pCancel;
    CClock::time_point m_deadline;
};
