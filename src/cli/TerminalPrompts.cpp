// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalPrompts.h"

#include "ConsoleOutput.h"
#include "platform/MessageTable.h"

CTerminalPrompts::CTerminalPrompts(CConsoleOutput& console, FReadLine readLine)
    : m_console(console), m_readLine(std::move(readLine))
{
}

EAnswer CTerminalPrompts::ShowMessage(const CMessageBox& box)
{
    if (box.Style() == EMessageStyle::Prompt)
        return Ask(box, false).eAnswer;
    m_console.Message(box.Text());
    return EAnswer::Ok;
}

CCheckedAnswer CTerminalPrompts::ShowMessageWithCheckBox(const CMessageBox& box, EMessageId)
{
    if (box.Style() == EMessageStyle::Prompt)
        return Ask(box, true);
    m_console.Message(box.Text());
    return {};
}

int CTerminalPrompts::AskFolderQuestion(const std::string&)
{
    return FolderAnswerYes;
}

CPasswordAnswer CTerminalPrompts::AskPassword(const CPasswordRequest&)
{
    return {EPasswordAnswer::Skip, {}, false};
}

// Asked again until the answer is one of the choices; no answer at all is
// a "No", which keeps the text.
CCheckedAnswer CTerminalPrompts::Ask(const CMessageBox& question, bool forRest)
{
    std::string prompt = question.Text();
    while (!prompt.empty() && prompt.back() == '\n')
        prompt.pop_back();
    m_console.Message(prompt);
    EMessageId choices =
        forRest ? EMessageId::CommandAnswerChoicesForRest : EMessageId::CommandAnswerChoices;
    for (;;)
    {
        m_console.Prompt(CMessageTable::Format(choices));
        std::string line;
        if (!m_readLine(line))
            return {EAnswer::No, false};
        if (line == "y" || line == "Y")
            return {EAnswer::Yes, false};
        if (line == "n" || line == "N")
            return {EAnswer::No, false};
        if (forRest && (line == "a" || line == "A"))
            return {EAnswer::Yes, true};
        if (forRest && (line == "s" || line == "S"))
            return {EAnswer::No, true};
    }
}
