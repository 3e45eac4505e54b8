// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <string>
#include <vector>

// What became of one file of an add operation, as a value: made by the
// converter (or by the operation for a file no converter takes) and handed,
// in queue order on the user's thread, to whoever presents it. Nothing in it
// has been shown yet.
struct CFileOutcome
{
    // The last word on the file: Converted when nothing needs telling,
    // otherwise the outcome of its last message.
    EFileOutcome eKind = EFileOutcome::Converted;
    // Whether the file's text file is there and the file goes in the list.
    bool bListed = true;
    std::string strSourcePath;
    std::string strTextPath;
    // What the person is told about the file, in order, each worded as its
    // box shows it and marked with what it tells of the file. A "No" to the
    // overwrite question is the question itself.
    std::vector<CMessageBox> messages;
    // For a file not overwritten: whether the question was shown, rather
    // than answered by an earlier "Do the same for the rest".
    bool bAsked = false;
    // The text came out blank while OCR was wanted and could not run.
    bool bOcrMissing = false;
    // The tool's report, cut as the messages show it.
    std::string strToolReport;
    // Whether the tool ran and was judged: only then do the exit status, the
    // signal and the time tell anything.
    bool bRan = false;
    // How the tool ended: its exit status, or the signal that ended it.
    int nExitStatus = 0;
    int nSignal = 0;
    // From the start of the tool run to its end, OCR included.
    double dSeconds = 0.0;

    // A file dropped with one message.
    static CFileOutcome Dropped(std::string_view sourcePath, CMessageBox message)
    {
        CFileOutcome outcome;
        outcome.strSourcePath.assign(sourcePath);
        outcome.Tell(std::move(message));
        outcome.bListed = false;
        return outcome;
    }
    // Appends a message; the file's kind becomes what the message tells.
    CFileOutcome& Tell(CMessageBox message)
    {
        eKind = message.Outcome();
        messages.push_back(std::move(message));
        return *this;
    }
};
