// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutcomeTelling.h"

namespace
{
bool IsLocked(EFileOutcome kind)
{
    return kind == EFileOutcome::NeedsPassword || kind == EFileOutcome::WrongPassword;
}
} // namespace

void COutcomeTelling::Walk(const CFileOutcome& outcome, const FStep& step)
{
    bool recordOnly = COutcomeKind::Of(outcome.eKind).bKept ||
                      (!m_bTellIgnored && outcome.eKind == EFileOutcome::Ignored);
    for (const CReason& reason : outcome.reasons)
    {
        if (reason.eKind == EFileOutcome::NotOverwritten ||
            (outcome.bPasswordSkipped && IsLocked(reason.eKind)))
        {
            step(outcome.bAsked ? EStep::RecordAsSeen : EStep::Record, &reason);
            continue;
        }
        if (recordOnly)
        {
            step(EStep::Record, &reason);
            continue;
        }
        if (outcome.bOcrMissing && &reason == &outcome.reasons.back() && !m_bOcrMissingTold)
        {
            m_bOcrMissingTold = true;
            step(EStep::OcrMissing, nullptr);
        }
        step(EStep::Tell, &reason);
    }
}

bool COutcomeTelling::CountsAsConverted(const CFileOutcome& outcome)
{
    return outcome.bListed && !COutcomeKind::Of(outcome.eKind).bKept;
}
