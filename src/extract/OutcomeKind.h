// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageIds.h"

#include <optional>
#include <string_view>

// What became of one file of an add operation, and what one reason about
// that file tells of it. The order is kept: counts are stored by it.
enum class EFileOutcome
{
    None, // not about one file of an add operation
    Warning,
    NoText,
    NotOverwritten, // for the overwrite question: what a "No" means
    Ignored,
    CouldNotOpen,
    Failed,
    ReadByOcr,
    TimedOut,
    SharedTextFile, // its text file was another PDF's in the same add
    // A PDF locked with a password.
    NeedsPassword, // none was given, or it could not be given to the tool
    WrongPassword, // none of those tried opens it
    Garbled,       // converted, but the text of some pages looks garbled
    UpToDate,      // told in the report only, never in a box
    Kept,          // likewise
    Converted      // listed without a word; no reason tells it
};

// What each kind means to whoever presents it, in one table: the word a
// report a program reads gives it, its name in the window's report, and
// whether it is a failure (a command's exit status says so) or a text that
// was kept as it was (listed, but not counted as converted).
struct COutcomeKind
{
    EFileOutcome eKind;
    std::string_view strToken;
    // None for the kinds the window's report names with nothing.
    std::optional<EMessageId> nameId;
    bool bFailure;
    bool bKept;

    static const COutcomeKind& Of(EFileOutcome kind);
};
