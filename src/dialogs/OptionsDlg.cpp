#include "OptionsDlg.h"

#include "QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce,
                         int defaultConversionsAtOnce, QWidget* parent)
    : QDialog(parent), m_pConversions(new QSpinBox(this)),
      m_pEachInABox(new QRadioButton(CQtText::Message(EMessageId::ProblemsEachInABox), this)),
      m_pInOneReport(new QRadioButton(CQtText::Message(EMessageId::ProblemsInOneReport), this))
{
    setWindowTitle(CQtText::Message(EMessageId::OptionsCaption));

    m_pConversions->setRange(1, maxConversionsAtOnce);
    m_pConversions->setValue(conversionsAtOnce);

    auto* label = new QLabel(CQtText::Message(EMessageId::ConversionsAtOnceLabel));
    label->setBuddy(m_pConversions);
    auto* help =
        new QLabel(CQtText::Message(EMessageId::ConversionsAtOnceHelp, {defaultConversionsAtOnce}));
    help->setWordWrap(true);
    help->setTextFormat(Qt::PlainText);
    help->setMinimumWidth(fontMetrics().averageCharWidth() * 50);

    auto* form = new QFormLayout;
    form->addRow(label, m_pConversions);

    m_pEachInABox->setChecked(true);
    auto* problems = new QVBoxLayout;
    problems->addWidget(new QLabel(CQtText::Message(EMessageId::ProblemsAtEndLabel)));
    problems->addWidget(m_pEachInABox);
    problems->addWidget(m_pInOneReport);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(help);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(problems);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

int COptionsDlg::ConversionsAtOnce() const
{
    return m_pConversions->value();
}

void COptionsDlg::SetProblemsAtEnd(bool atEnd)
{
    (atEnd ? m_pInOneReport : m_pEachInABox)->setChecked(true);
}

bool COptionsDlg::ProblemsAtEnd() const
{
    return m_pInOneReport->isChecked();
}
