// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/Reason.h"
#include "person/MessageBox.h"

#include <string>

// Words the reasons of an add operation, the same for every front end: the
// text of a reason's messages, the tool's report behind it, and the window's
// box with the style its first message calls for.
class CReasonWording
{
public:
    // The messages' text in order, the tool's report (shortened) or how it
    // ended in the first where the reason says so.
    static std::string Text(const CReason& reason);
    // The tool's whole report, which a box may offer as details.
    static const std::string& Details(const CReason& reason) { return reason.strToolReport; }
    // The text with the whole report after it where the text shows only
    // part of it.
    static std::string FullText(const CReason& reason);
    static std::string FullText(const std::string& text, const std::string& details);
    static CMessageBox Box(const CReason& reason);
    static EMessageStyle StyleOf(EMessageId firstId);

    // A tool's report shortened to a readable size for a message, with a
    // last line telling what was left out: how many lines, and whether a
    // line too long to show whole was cut.
    static std::string ReportForDisplay(const std::string& report);
    // How a tool that reported nothing ended, for a failure message.
    static std::string HowTheToolEnded(const CToolEnding& ending);

    // How much of a report a message shows.
    static constexpr int kMaxShownLines = 25;
    static constexpr std::size_t kMaxShownChars = 4000;
};
