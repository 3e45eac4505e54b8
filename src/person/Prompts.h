// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageBox.h"

#include <string>

// Answers of the four-button folder question. Anything else means the
// dialog could not be shown.
enum EFolderAnswer : int
{
    FolderAnswerYes = 1,
    FolderAnswerNo = 2,
    FolderAnswerYesToAll = 1000,
    FolderAnswerNoToAll = 1001,
    FolderAnswerFailed = -1
};

// The answer to a message box with a check box, and whether the box was
// ticked when it closed.
struct CCheckedAnswer
{
    EAnswer eAnswer = EAnswer::Ok;
    bool bChecked = false;
};

// How the logic reaches the person at the keyboard: message boxes and the
// questions that need an answer. The window implements it with real
// dialogs; tests implement it with scripted answers. User's thread only.
class CPrompts
{
public:
    virtual ~CPrompts() = default;

    // Shows a modal message box and returns the answer (Ok for boxes
    // without a choice).
    virtual EAnswer ShowMessage(const CMessageBox& box) = 0;
    // The same box with an unticked check box under its text, labelled with
    // the message `checkLabel`.
    virtual CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box,
                                                   EMessageId checkLabel) = 0;

    // The four-button question "Yes", "Yes to All", "No", "No to All" about
    // adding a folder's contents. Returns an EFolderAnswer value.
    virtual int AskFolderQuestion(const std::string& question) = 0;
};
