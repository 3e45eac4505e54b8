// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The form of the text files an add operation writes: which reading order
// the tool follows, the line ends, whether pages end with a form feed, and
// whether the file starts with a byte order mark. The text is UTF-8 in
// every form. The defaults are the tool's physical layout with LF line ends
// and form feeds, and no byte order mark.
struct CTextForm
{
    enum class ELayout
    {
        Physical = 0,     // columns side by side, as on the page (-layout)
        ReadingOrder = 1, // the tool's own reading order
        Raw = 2           // the order of the page's content stream (-raw)
    };

    static constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

    ELayout eLayout = ELayout::Physical;
    bool bCrLf = false;
    bool bPageBreaks = true;
    bool bByteOrderMark = false;

    // The tool's options for this form. `keepPageBreaks` keeps the form
    // feeds whatever the form, for a reader that splits the text into pages
    // (OCR); RemovePageBreaks then takes them out.
    std::vector<std::string> ToolOptions(bool keepPageBreaks) const;
    // Gives recognized text the form's line ends.
    std::string WithLineEnds(const std::string& text) const;
    // Takes the form feeds out of a text made with `keepPageBreaks`, when
    // the form has none.
    void RemovePageBreaks(std::string& text) const;
};
