// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormatArg.h"
#include "MessageIds.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// How a message box looks and which answers it offers.
enum class EMessageStyle
{
    InUse,       // OK, no icon, kept on top and brought to the front
    Prompt,      // Yes and No, no icon, kept on top and brought to the front
    Error,       // OK with the error icon
    Warning,     // OK with the warning icon
    Information, // OK with the information icon
    Plain        // OK, no icon
};

enum class EAnswer
{
    Ok,
    Yes,
    No
};

// What became of one file of an add operation, and what a message about
// that file tells of it.
enum class EFileOutcome
{
    None, // the message is not about one file of an add operation
    Warning,
    NoText,
    NotOverwritten, // for the overwrite question: what a "No" means
    Ignored,
    CouldNotOpen,
    Failed,
    ReadByOcr,
    TimedOut,
    UpToDate, // told in the report only, never in a box
    Kept,     // likewise
    Converted // listed without a word; no message tells it
};

// One message box: the numbered messages it is made of, in order, their
// formatted text, and optionally a longer text the window may offer as
// details (a tool's whole report when the text shows only part of it).
class CMessageBox
{
public:
    CMessageBox(EMessageStyle style, EMessageId id, std::initializer_list<CFormatArg> args = {});

    // Appends a second message directly after the first.
    CMessageBox& Then(EMessageId id, std::initializer_list<CFormatArg> args = {});
    // Puts free text (already formatted) in front of the messages.
    CMessageBox& Prefix(const std::string& text);
    CMessageBox& Details(std::string details);
    // Marks the box as telling, in an add operation, what became of the
    // file or folder at `path`.
    CMessageBox& About(std::string_view path, EFileOutcome outcome);

    EMessageStyle Style() const { return m_style; }
    const std::vector<EMessageId>& Ids() const { return m_ids; }
    const std::string& Text() const { return m_strText; }
    const std::string& DetailsText() const { return m_strDetails; }
    const std::string& Subject() const { return m_strSubject; }
    EFileOutcome Outcome() const { return m_eOutcome; }

private:
    EMessageStyle m_style;
    std::vector<EMessageId> m_ids;
    std::string m_strText;
    std::string m_strDetails;
    std::string m_strSubject;
    EFileOutcome m_eOutcome = EFileOutcome::None;
};
