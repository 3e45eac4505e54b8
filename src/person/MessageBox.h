// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormatArg.h"
#include "platform/MessageIds.h"

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

// One message box: the numbered messages it is made of, in order, their
// formatted text, and optionally a longer text the window may offer as
// details (a tool's whole report when the text shows only part of it).
class CMessageBox
{
public:
    CMessageBox(EMessageStyle style, EMessageId id, std::initializer_list<CFormatArg> args = {});
    // A box of messages formatted already.
    CMessageBox(EMessageStyle style, std::vector<EMessageId> ids, std::string text);

    // Appends a second message directly after the first.
    CMessageBox& Then(EMessageId id, std::initializer_list<CFormatArg> args = {});
    CMessageBox& Details(std::string details);

    EMessageStyle Style() const { return m_style; }
    const std::vector<EMessageId>& Ids() const { return m_ids; }
    const std::string& Text() const { return m_strText; }
    const std::string& DetailsText() const { return m_strDetails; }

private:
    EMessageStyle m_style;
    std::vector<EMessageId> m_ids;
    std::string m_strText;
    std::string m_strDetails;
};
