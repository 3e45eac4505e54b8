// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "person/Prompts.h"

#include <functional>
#include <string>

class CConsoleOutput;

// The command's side of the prompts: a message goes to the error stream,
// and the overwrite question, which the command puts only when it was told
// to ask and its input is a terminal, is answered on the terminal. Folders
// are never asked about: the command was given them to convert; nor are
// passwords.
class CTerminalPrompts : public CPrompts
{
public:
    // Reads one answer line; false when there is none (end of input, or a
    // request to stop cut the read short).
    using FReadLine = std::function<bool(std::string&)>;

    CTerminalPrompts(CConsoleOutput& console, FReadLine readLine);

    EAnswer ShowMessage(const CMessageBox& box) override;
    CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box, EMessageId checkLabel) override;
    int AskFolderQuestion(const std::string& question) override;
    // Never asked: the command takes its passwords from --password-file
    // alone, as one typed on a terminal would hold up a script.
    CPasswordAnswer AskPassword(const CPasswordRequest& request) override;

private:
    // `forRest`: whether the answer may stand for the rest of the run.
    CCheckedAnswer Ask(const CMessageBox& question, bool forRest);

    CConsoleOutput& m_console;
    FReadLine m_readLine;
};
