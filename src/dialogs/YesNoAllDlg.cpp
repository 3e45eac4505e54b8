// SPDX-License-Identifier: GPL-3.0-or-later
#include "YesNoAllDlg.h"

#include "QtText.h"
#include "person/Prompts.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// The box is laid out in dialog units so that it keeps its proportions
// with any font: a quarter of the average character width across, an
// eighth of the line height down.
struct CDialogUnits
{
    explicit CDialogUnits(const QFontMetrics& metrics)
        : m_nAverage(metrics.horizontalAdvance(
                         QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                     52),
          m_nHeight(metrics.height())
    {
    }
    int X(int units) const { return (units * m_nAverage + 2) / 4; }
    int Y(int units) const { return (units * m_nHeight + 4) / 8; }

    int m_nAverage;
    int m_nHeight;
};
} // namespace

CYesNoAllDlg::CYesNoAllDlg(const QString& question, QWidget* parent)
    : QDialog(parent), m_strQuestion(question)
{
    setWindowTitle(CQtText::Message(EMessageId::FolderQuestionCaption));
    setModal(true);
    CreateControls();
    LayOut();
}

void CYesNoAllDlg::reject()
{
    done(FolderAnswerNo);
}

void CYesNoAllDlg::CreateControls()
{
    m_pQuestion = new QLabel(this);
    m_pQuestion->setObjectName(QStringLiteral("question"));
    m_pQuestion->setTextFormat(Qt::PlainText);
    m_pQuestion->setWordWrap(true);
    m_pQuestion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pQuestion->setText(Breakable(m_strQuestion));

    // Created in the order the Tab key visits them.
    m_pYes = AddButton(CQtText::Message(EMessageId::YesButton), "yesButton", FolderAnswerYes);
    m_pNo = AddButton(CQtText::Message(EMessageId::NoButton), "noButton", FolderAnswerNo);
    m_pYesToAll = AddButton(CQtText::Message(EMessageId::YesToAllButton), "yesToAllButton",
                            FolderAnswerYesToAll);
    m_pNoToAll = AddButton(CQtText::Message(EMessageId::NoToAllButton), "noToAllButton",
                           FolderAnswerNoToAll);
    m_pYes->setDefault(true);
    m_pYes->setFocus();
}

QPushButton* CYesNoAllDlg::AddButton(const QString& text, const char* name, int answer)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::StrongFocus);
    connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
    return button;
}

void CYesNoAllDlg::LayOut()
{
    CDialogUnits units(fontMetrics());
    m_pQuestion->setFixedWidth(units.X(247));
    m_pQuestion->setMinimumHeight(units.Y(23));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(units.X(15));
    for (QPushButton* button : {m_pYes, m_pYesToAll, m_pNo, m_pNoToAll})
    {
        button->setFixedWidth(units.X(50));
        button->setMinimumHeight(units.Y(14));
        buttons->addWidget(button);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    column->setSpacing(units.Y(9));
    column->addWidget(m_pQuestion);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QString CYesNoAllDlg::Breakable(const QString& text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / 8);
    for (QChar ch : text)
    {
        shown += ch;
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\'))
            shown += QChar(0x200B);
    }
    return shown;
}
