// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/FileOutcome.h"

#include <functional>

// Decides, for every front end alike, which reasons of an outcome are told
// to the person and which only go on record, and when the person learns
// that OCR could not run. One object lives for one add operation. User's
// thread only.
//
// - A text kept by the operation's rule is only recorded: a second run over
//   the same folder meets every text it made.
// - A "No" to the overwrite question was the question itself: recorded,
//   as seen when it was shown, not told again. So is a locked file the
//   person skipped when asked for its password, or with Skip All.
// - That OCR cannot run is told once per operation, just before the blank
//   text it explains; it is no reason about the file and is not recorded.
// - A file no converter takes is told, unless the front end chose to keep
//   such files to its record.
class COutcomeTelling
{
public:
    enum class EStep
    {
        Tell,         // tell the reason, and record it
        Record,       // record it only, as not seen
        RecordAsSeen, // record it only, as seen when it was asked
        OcrMissing    // tell that OCR cannot run; no reason goes with it
    };
    using FStep = std::function<void(EStep step, const CReason* reason)>;

    explicit COutcomeTelling(bool tellIgnored = true) : m_bTellIgnored(tellIgnored) {}

    // Calls `step` for each thing to do about `outcome`, in order.
    void Walk(const CFileOutcome& outcome, const FStep& step);
    // Whether the file counts as converted: listed, and its text not kept.
    static bool CountsAsConverted(const CFileOutcome& outcome);

private:
    const bool m_bTellIgnored;
    bool m_bOcrMissingTold = false;
};
