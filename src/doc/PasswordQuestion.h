// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConversionQueue.h"

#include <optional>

class CPathRules;
class CPrompts;

// Asks the person for the password of a locked PDF file of one add
// operation, which its queue then tries on the file:
// - nothing is asked while the operation's problems go on record without a
//   word (kept for its report), nor after Skip All;
// - a file is asked for twice at most: when the second password typed
//   fails too, the file is left "Wrong password" and told as any failure;
// - a file the person skips is only recorded, as they have just seen it,
//   or passed over with Skip All.
// What the person types goes to the queue and is kept nowhere else. User's
// thread only.
class CPasswordQuestion
{
public:
    static constexpr int kMaxAsks = 2;

    CPasswordQuestion(CPrompts& prompts, const CPathRules& rules)
        : m_prompts(prompts), m_rules(rules)
    {
    }

    // `timesAsked`: how often the person was asked for this file already;
    // `tellsNow`: whether its problems would be told now. Marks an outcome
    // the person skipped.
    std::optional<CConversionQueue::CPasswordTry> Ask(CFileOutcome& outcome, int timesAsked,
                                                      bool tellsNow);

private:
    CPrompts& m_prompts;
    const CPathRules& m_rules;
    bool m_bSkipAll = false;
};
