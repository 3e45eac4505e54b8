// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextForm.h"

#include <algorithm>

std::vector<std::string> CTextForm::ToolOptions(bool keepPageBreaks) const
{
    std::vector<std::string> options;
    if (eLayout == ELayout::Physical)
        options.push_back("-layout");
    else if (eLayout == ELayout::Raw)
        options.push_back("-raw");
    options.insert(options.end(), {"-enc", "UTF-8"});
    if (bCrLf)
        options.insert(options.end(), {"-eol", "dos"});
    if (!bPageBreaks && !keepPageBreaks)
        options.push_back("-nopgbrk");
    return options;
}

std::string CTextForm::WithLineEnds(const std::string& text) const
{
    if (!bCrLf)
        return text;
    std::string ended;
    ended.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            ended += '\r';
        ended += text[i];
    }
    return ended;
}

void CTextForm::RemovePageBreaks(std::string& text) const
{
    if (!bPageBreaks)
        text.erase(std::remove(text.begin(), text.end(), '\f'), text.end());
}
