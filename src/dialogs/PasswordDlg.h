// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "person/Prompts.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The question for the password of a locked PDF file: the file's name, a
// masked field, the check box "Try this password on the other locked files
// of this add", and OK (also Enter, once a password is typed), Skip (also
// Escape and the close box) and Skip All. Answer() gives the answer once
// the dialog has closed.
class CPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPasswordDlg(const CPasswordRequest& request, QWidget* parent = nullptr);

    CPasswordAnswer Answer() const;

    void reject() override;

private:
    void CreateControls(const CPasswordRequest& request);
    void LayOut();
    QPushButton* AddButton(EMessageId text, const char* name, EPasswordAnswer answer);
    static int ResultOf(EPasswordAnswer answer);
    static EPasswordAnswer AnswerOf(int result);

    QLabel* m_pPrompt = nullptr;
    QLineEdit* m_pPassword = nullptr;
    QCheckBox* m_pTryOnOthers = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pSkip = nullptr;
    QPushButton* m_pSkipAll = nullptr;
};
