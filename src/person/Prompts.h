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

// The question for the password of a locked PDF file.
struct CPasswordRequest
{
    // The file's name, and its whole path.
    std::string strFileName;
    std::string strPath;
    // The password typed last time did not open it.
    bool bAgain = false;
};

enum class EPasswordAnswer
{
    Ok,
    Skip,
    SkipAll
};

// The answer to the password question: with Ok, the password typed (which
// nothing keeps beyond the add) and whether the other locked files of the
// add are to try it too.
struct CPasswordAnswer
{
    EPasswordAnswer eAnswer = EPasswordAnswer::Skip;
    std::string strPassword;
    bool bTryOnOthers = false;
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

    // Asks for the password of a locked PDF file, typed into a masked
    // field: OK, Skip, or Skip All for the rest of the add. A dialog that
    // could not be shown answers Skip.
    virtual CPasswordAnswer AskPassword(const CPasswordRequest& request) = 0;
};
