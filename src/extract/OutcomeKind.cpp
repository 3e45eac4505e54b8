// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutcomeKind.h"

#include <array>

namespace
{
// A file that was converted, and a reason about no file, are both reported
// as converted: neither tells of a problem.
constexpr std::array<COutcomeKind, 16> kKinds{{
    {EFileOutcome::None, "converted", std::nullopt, false, false},
    {EFileOutcome::Warning, "warning", EMessageId::OutcomeWarning, false, false},
    {EFileOutcome::NoText, "no-text", EMessageId::OutcomeNoText, false, false},
    {EFileOutcome::NotOverwritten, "not-overwritten", EMessageId::OutcomeNotOverwritten, false,
     false},
    {EFileOutcome::Ignored, "ignored", EMessageId::OutcomeIgnored, false, false},
    {EFileOutcome::CouldNotOpen, "could-not-open", EMessageId::OutcomeCouldNotOpen, true, false},
    {EFileOutcome::Failed, "failed", EMessageId::OutcomeFailed, true, false},
    {EFileOutcome::ReadByOcr, "ocr", EMessageId::OutcomeReadByOcr, false, false},
    {EFileOutcome::TimedOut, "timed-out", EMessageId::OutcomeTimedOut, true, false},
    {EFileOutcome::SharedTextFile, "shared-text-file", EMessageId::OutcomeTextFileShared, true,
     false},
    {EFileOutcome::NeedsPassword, "needs-password", EMessageId::OutcomeNeedsPassword, true, false},
    {EFileOutcome::WrongPassword, "wrong-password", EMessageId::OutcomeWrongPassword, true, false},
    {EFileOutcome::Garbled, "garbled", EMessageId::OutcomeGarbled, false, false},
    {EFileOutcome::UpToDate, "up-to-date", EMessageId::OutcomeUpToDate, false, true},
    {EFileOutcome::Kept, "kept", EMessageId::OutcomeKept, false, true},
    {EFileOutcome::Converted, "converted", std::nullopt, false, false},
}};

constexpr bool InEnumOrder()
{
    for (std::size_t i = 0; i < kKinds.size(); ++i)
    {
        if (static_cast<std::size_t>(kKinds[i].eKind) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "one row per kind, in the order of EFileOutcome");
} // namespace

const COutcomeKind& COutcomeKind::Of(EFileOutcome kind)
{
    return kKinds[static_cast<std::size_t>(kind)];
}
