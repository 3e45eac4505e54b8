// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormatArg.h"
#include "MessageIds.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// The one place that holds the program's user-facing texts. Formats always
// come from here, never from input, and the formatter knows only %s, %d, %x
// and %%, each checked against the kind of argument it is given.
class CMessageTable
{
public:
    // The text as stored; empty for an unknown id.
    static std::string_view Text(EMessageId id);

    // The text with its placeholders filled in order. A missing argument
    // prints nothing; a number given for %s prints as decimal; a text given
    // for %d or %x prints as it is. Unknown directives are copied unchanged.
    static std::string Format(EMessageId id, std::initializer_list<CFormatArg> args = {});
    static std::string FormatText(std::string_view format, std::initializer_list<CFormatArg> args);
    // The same with arguments kept in a container, as a reason keeps them.
    static std::string Format(EMessageId id, std::span<const CFormatArg> args);
    static std::string FormatText(std::string_view format, std::span<const CFormatArg> args);

    // The status-bar prompt (before the line break) and the tooltip (after
    // it) of a command's text.
    static std::string Prompt(EMessageId id);
    static std::string Tooltip(EMessageId id);
};
