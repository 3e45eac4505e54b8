// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Reason.h"

#include <string>
#include <vector>

// How the tool's run for one file went: only a file whose run was judged
// has any.
struct CRunFacts
{
    // How the tool ended: its exit status, or the signal that ended it.
    int nExitStatus = 0;
    int nSignal = 0;
    // From the start of the tool run to its end, OCR included.
    double dSeconds = 0.0;
    // An extraction worker, not the tool, made the text.
    bool bByWorker = false;
};

// What became of one file of an add operation, as data: made by the
// converter (or by the operation for a file no converter takes) and handed,
// in queue order on the user's thread, to whoever presents it. Nothing in it
// is worded and nothing has been shown yet.
struct CFileOutcome
{
    // The last word on the file, as its judge settled it: Converted when
    // nothing needs telling. A later reason says more of how the file ended
    // than an earlier one (a warning, then what OCR made of it), so a file
    // takes the kind of its last reason; None for a run the person
    // cancelled, which is dropped without a word.
    EFileOutcome eKind = EFileOutcome::Converted;
    // Whether the file's text file is there and the file goes in the list.
    bool bListed = true;
    std::string strSourcePath;
    std::string strTextPath;
    // What there is to tell about the file, in order. A "No" to the
    // overwrite question is the question itself.
    std::vector<CReason> reasons;
    // For a file not overwritten: whether the question was shown, rather
    // than answered by an earlier "Do the same for the rest". For a locked
    // file the person skipped: whether they were asked for its password,
    // rather than skipped it with an earlier "Skip All".
    bool bAsked = false;
    // A locked file the person chose to leave without its password.
    bool bPasswordSkipped = false;
    // The text came out blank while OCR was wanted and could not run.
    bool bOcrMissing = false;
    // Set when the tool ran and was judged.
    std::optional<CRunFacts> run;

    // A file dropped for one reason.
    static CFileOutcome Dropped(std::string_view sourcePath, CReason reason)
    {
        CFileOutcome outcome;
        outcome.strSourcePath.assign(sourcePath);
        outcome.Add(std::move(reason));
        outcome.bListed = false;
        return outcome;
    }
    // Appends a reason, which settles the file's kind.
    CFileOutcome& Add(CReason reason)
    {
        eKind = reason.eKind;
        reasons.push_back(std::move(reason));
        return *this;
    }
};
