// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReasonWording.h"

#include "platform/MessageTable.h"
#include "platform/SystemErrorText.h"

#include <algorithm>

namespace
{
// The tool's exit statuses that have a meaning of their own.
constexpr int kToolCannotOpenPdf = 1;
constexpr int kToolCannotOpenText = 2;
constexpr int kToolPermissionError = 3;

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

std::string CReasonWording::Text(const CReason& reason)
{
    std::string text;
    for (const CMessageCall& message : reason.messages)
    {
        if (&message != &reason.messages.front() || !reason.reported)
        {
            text += CMessageTable::Format(message.id, message.args);
            continue;
        }
        std::vector<CFormatArg> args = message.args;
        args.emplace_back(reason.strToolReport.empty() ? HowTheToolEnded(*reason.reported)
                                                       : ReportForDisplay(reason.strToolReport));
        text += CMessageTable::Format(message.id, args);
    }
    return text;
}

std::string CReasonWording::FullText(const CReason& reason)
{
    return FullText(Text(reason), Details(reason));
}

std::string CReasonWording::FullText(const std::string& text, const std::string& details)
{
    if (details.empty() || text.find(details) != std::string::npos)
        return text;
    return text + "\n" + details;
}

CMessageBox CReasonWording::Box(const CReason& reason)
{
    std::vector<EMessageId> ids;
    for (const CMessageCall& message : reason.messages)
        ids.push_back(message.id);
    CMessageBox box(StyleOf(reason.FirstId()), std::move(ids), Text(reason));
    box.Details(Details(reason));
    return box;
}

// A problem with the file itself is an error; one the tool survived, a
// warning; what the person may want to know, information. A file that
// could not be taken, or is in use, is told as the list tells what it
// cannot take.
EMessageStyle CReasonWording::StyleOf(EMessageId firstId)
{
    switch (firstId)
    {
    case EMessageId::TimedOut:
    case EMessageId::TextNotWritten:
    case EMessageId::TextFileShared:
    case EMessageId::ExtractionFailed:
    case EMessageId::PdfNeedsPassword:
    case EMessageId::PdfWrongPassword:
    case EMessageId::PdfLockedNeedsWorkers:
        return EMessageStyle::Error;
    case EMessageId::ExtractionWarning:
    case EMessageId::OcrFailedSomePages:
    case EMessageId::GarbledText:
        return EMessageStyle::Warning;
    case EMessageId::FileIgnored:
        return EMessageStyle::InUse;
    case EMessageId::OverwriteQuestion:
        return EMessageStyle::Prompt;
    default:
        return EMessageStyle::Information;
    }
}

std::string CReasonWording::ReportForDisplay(const std::string& report)
{
    std::string_view text = report;
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
        return report;

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

std::string CReasonWording::HowTheToolEnded(const CToolEnding& ending)
{
    const std::string& tool = ending.strTool;
    if (ending.nSignal != 0)
        return CMessageTable::Format(
            EMessageId::ToolEndedBySignal,
            {tool, ending.nSignal, CSystemErrorText::DescribeSignal(ending.nSignal)});
    if (ending.nExitStatus == 0)
        return CMessageTable::Format(EMessageId::ToolWroteNoText, {tool});
    std::string meaning;
    switch (ending.nExitStatus)
    {
    case kToolCannotOpenPdf:
        meaning = CMessageTable::Format(EMessageId::ToolStatusPdfNotOpened);
        break;
    case kToolCannotOpenText:
        meaning = CMessageTable::Format(EMessageId::ToolStatusTextNotOpened);
        break;
    case kToolPermissionError:
        meaning = CMessageTable::Format(EMessageId::ToolStatusPermissions);
        break;
    }
    return CMessageTable::Format(EMessageId::ToolEndedWithStatus,
                                 {tool, ending.nExitStatus, meaning});
}
