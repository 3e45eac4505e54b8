// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Reason.h"

#include <string_view>

// What an add operation does with a text file that is there already.
enum class EExistingText
{
    Ask = 0,              // the overwrite question (the default)
    Keep = 1,             // keep it and list the PDF without converting it
    ReplaceWhenNewer = 2, // convert when the PDF is newer than it, else as Keep
    Replace = 3           // convert without asking
};

// Whether an existing text file may be overwritten, as an add operation
// decides it: by asking, or by an answer that stands for the rest of the
// operation. User's thread only.
class COverwriteQuestion
{
public:
    struct CAnswer
    {
        bool bYes = false;
        // The question was put to the person rather than answered by a
        // standing answer.
        bool bAsked = false;
    };

    virtual ~COverwriteQuestion() = default;
    // The operation's rule; the question is only put under Ask.
    virtual EExistingText ExistingText() const { return EExistingText::Ask; }
    // Asks whether the text file at `textPath` may be overwritten.
    virtual CAnswer AskOverwrite(std::string_view textPath) = 0;

    // The question about `textPath`; a "No" to it is its own reason, which
    // tells that the file was not converted.
    static CReason Question(std::string_view textPath)
    {
        return CReason(EFileOutcome::NotOverwritten, textPath, EMessageId::OverwriteQuestion,
                       {textPath});
    }
};
