// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordDlg.h"

#include "QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPasswordDlg::CPasswordDlg(const CPasswordRequest& request, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(CQtText::Message(EMessageId::PasswordCaption));
    setModal(true);
    CreateControls(request);
    LayOut();
}

CPasswordAnswer CPasswordDlg::Answer() const
{
    EPasswordAnswer answer = AnswerOf(result());
    if (answer != EPasswordAnswer::Ok)
        return {answer, {}, false};
    return {answer, CQtText::ToText(m_pPassword->text()), m_pTryOnOthers->isChecked()};
}

void CPasswordDlg::reject()
{
    done(ResultOf(EPasswordAnswer::Skip));
}

// Apart from QDialog's own Rejected (0), which a dialog closed from outside
// ends with: that is a Skip.
int CPasswordDlg::ResultOf(EPasswordAnswer answer)
{
    return static_cast<int>(answer) + 1;
}

EPasswordAnswer CPasswordDlg::AnswerOf(int result)
{
    for (EPasswordAnswer answer :
         {EPasswordAnswer::Ok, EPasswordAnswer::Skip, EPasswordAnswer::SkipAll})
    {
        if (ResultOf(answer) == result)
            return answer;
    }
    return EPasswordAnswer::Skip;
}

void CPasswordDlg::CreateControls(const CPasswordRequest& request)
{
    m_pPrompt = new QLabel(this);
    m_pPrompt->setObjectName(QStringLiteral("prompt"));
    // A file's name may hold anything, markup included.
    m_pPrompt->setTextFormat(Qt::PlainText);
    m_pPrompt->setWordWrap(true);
    m_pPrompt->setText(CQtText::Message(request.bAgain ? EMessageId::PasswordPromptAgain
                                                       : EMessageId::PasswordPrompt,
                                        {request.strFileName}));
    m_pPrompt->setToolTip(CQtText::FromPath(request.strPath));

    m_pPassword = new QLineEdit(this);
    m_pPassword->setObjectName(QStringLiteral("password"));
    m_pPassword->setEchoMode(QLineEdit::Password);
    // Kept out of input methods' predictions and memories.
    m_pPassword->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                     Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    m_pPrompt->setBuddy(m_pPassword);

    m_pTryOnOthers = new QCheckBox(CQtText::Message(EMessageId::PasswordTryOnOthersCheck), this);
    m_pTryOnOthers->setObjectName(QStringLiteral("tryOnOthers"));

    m_pOk = AddButton(EMessageId::PasswordOkButton, "okButton", EPasswordAnswer::Ok);
    m_pSkip = AddButton(EMessageId::PasswordSkipButton, "skipButton", EPasswordAnswer::Skip);
    m_pSkipAll =
        AddButton(EMessageId::PasswordSkipAllButton, "skipAllButton", EPasswordAnswer::SkipAll);
    m_pOk->setDefault(true);
    // The empty password was tried already.
    m_pOk->setEnabled(false);
    connect(m_pPassword, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_pOk->setEnabled(!text.isEmpty()); });
    m_pPassword->setFocus();
}

QPushButton* CPasswordDlg::AddButton(EMessageId text, const char* name, EPasswordAnswer answer)
{
    auto* button = new QPushButton(CQtText::Message(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, answer] { done(ResultOf(answer)); });
    return button;
}

void CPasswordDlg::LayOut()
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_pOk, m_pSkip, m_pSkipAll})
        buttons->addWidget(button);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_pPrompt);
    column->addWidget(m_pPassword);
    column->addWidget(m_pTryOnOthers);
    column->addLayout(buttons);
    m_pPrompt->setMinimumWidth(m_pPrompt->fontMetrics().averageCharWidth() * 50);
    column->setSizeConstraint(QLayout::SetFixedSize);
}
