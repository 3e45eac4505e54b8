// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractionReport.h"

#include "platform/MessageTable.h"

#include <algorithm>

namespace
{
// Backs off to the start of a UTF-8 sequence so a cut never splits a
// character.
std::size_t CharacterBoundary(std::string_view text, std::size_t position)
{
    while (position > 0 && position < text.size() &&
           (static_cast<unsigned char>(text[position]) & 0xC0) == 0x80)
        --position;
    return position;
}
} // namespace

CExtractionReport::CExtractionReport(std::string captured) : m_strCut(std::move(captured))
{
    std::size_t lastLineFeed = m_strCut.rfind('\n');
    if (lastLineFeed != std::string::npos)
        m_strCut.resize(lastLineFeed);
}

std::string CExtractionReport::ForDisplay() const
{
    std::string_view text = m_strCut;
    int totalLines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;

    std::size_t shownEnd = 0;
    int shownLines = 0;
    bool lineCut = false;
    while (shownLines < totalLines && shownLines < kMaxShownLines)
    {
        std::size_t lineEnd = text.find('\n', shownEnd);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        if (lineEnd > kMaxShownChars)
        {
            // A line too long to show whole is shown in part, but only when
            // nothing else fits.
            if (shownLines == 0)
            {
                shownEnd = CharacterBoundary(text, kMaxShownChars);
                shownLines = 1;
                lineCut = true;
            }
            break;
        }
        shownEnd = lineEnd;
        ++shownLines;
        if (lineEnd < text.size())
            ++shownEnd;
    }

    if (shownLines == totalLines && shownEnd >= text.size())
        return m_strCut;

    std::string shown(text.substr(0, shownEnd));
    if (!shown.empty() && shown.back() != '\n')
        shown += '\n';
    int omittedLines = totalLines - shownLines;
    if (!lineCut)
        return shown + CMessageTable::Format(EMessageId::ReportLinesOmitted, {omittedLines});
    if (omittedLines == 0)
        return shown + CMessageTable::Format(EMessageId::ReportLineCut);
    return shown + CMessageTable::Format(EMessageId::ReportLineAndLinesCut, {omittedLines});
}
