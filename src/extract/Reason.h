// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OutcomeKind.h"
#include "platform/FormatArg.h"
#include "platform/MessageIds.h"

#include <optional>
#include <string>
#include <vector>

// One numbered message and its arguments, to be worded where it is shown.
struct CMessageCall
{
    EMessageId id;
    std::vector<CFormatArg> args;
};

// How a tool ended that reported nothing on its error stream: enough for a
// front end to say so in place of a report.
struct CToolEnding
{
    std::string strTool;
    int nExitStatus = 0;
    int nSignal = 0;
};

// One thing to tell about a file or folder of an add operation, as data:
// what it tells of the file, its messages (a lead, then the system's error,
// where it has two), and the tool's report behind it. Front ends word it:
// the window into a box, the command into a line and a report field.
struct CReason
{
    EFileOutcome eKind = EFileOutcome::None;
    // The file or folder it is about.
    std::string strSubject;
    std::vector<CMessageCall> messages;
    // The tool's whole report, cut at its last line feed; empty when the
    // reason has none to show.
    std::string strToolReport;
    // Set when the first message ends with what the tool reported: its
    // report, shortened for showing, or, when it reported nothing, how it
    // ended.
    std::optional<CToolEnding> reported;

    CReason(EFileOutcome kind, std::string_view subject, EMessageId id,
            std::vector<CFormatArg> args = {})
        : eKind(kind), strSubject(subject), messages{{id, std::move(args)}}
    {
    }
    // Appends a second message directly after the first.
    CReason& Then(EMessageId id, std::vector<CFormatArg> args = {})
    {
        messages.push_back({id, std::move(args)});
        return *this;
    }
    // The first message ends with the tool's report, or how `ending` says
    // the tool ended when the report is empty.
    CReason& Reported(std::string toolReport, CToolEnding ending)
    {
        strToolReport = std::move(toolReport);
        reported = std::move(ending);
        return *this;
    }
    EMessageId FirstId() const { return messages.front().id; }
};
