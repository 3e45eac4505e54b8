// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of the window's INI file, cut into lines and unescaped the way
// the window reads it: where a line ends, which lines are comments, and how
// group names, keys and values are escaped. What the entries mean (which
// one of two wins, what type a value has) is the settings' business.
class CIniSyntax
{
public:
    static constexpr std::size_t kNone = std::string_view::npos;

    // One line of the file: a group header, an entry with the place of its
    // '=' (kNone when it has none), or text that is neither.
    struct CLine
    {
        std::string_view text;
        std::size_t equalsAt = kNone;
    };

    // The line at pos, with pos moved past it; false when only blank lines
    // and comments are left. A line goes on past its line end inside quotes
    // and after a backslash. ';' where a line starts makes the rest of it a
    // comment; elsewhere, out of quotes, it ends the line and starts a
    // comment.
    static bool ReadLine(std::string_view data, std::size_t& pos, CLine& line);

    // The start of the keys of the group with this header line: empty for
    // "[General]", in any case of its letters, which holds the keys of no
    // group; a group of that name is written "[%General]".
    static std::u16string GroupPrefix(std::string_view header);

    // A key with the blanks around it dropped. '\' stands for '/', which
    // separates the groups of a key; "%hh" and "%Uhhhh" give a character by
    // its code in hexadecimal; a '%' that starts neither stands for itself.
    static std::u16string UnescapeKey(std::string_view bytes);

    // Unescapes an entry's value. Commas out of quotes split it into items,
    // given back with true.
    static bool UnescapeValue(std::string_view raw, std::u16string& text,
                              std::vector<std::u16string>& items);

    // A whole number as the window reads one, in an escape or a value: white
    // space around it allowed, a '+' before it, or a '-' before a decimal
    // one, "0x" before hexadecimal digits, and the text ending at a NUL. A
    // number past 63 bits is none.
    static std::optional<long long> ParseNumber(std::string_view text, int base);
};
