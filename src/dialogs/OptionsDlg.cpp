#include "OptionsDlg.h"

#include "QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce,
                         int defaultConversionsAtOnce, QWidget* parent)
    : QDialog(parent), m_pConversions(new QSpinBox(this))
{
    setWindowTitle(CQtText::Message(EMessageId::OptionsCaption));

    m_pConversions->setRange(1, maxConversionsAtOnce);
    m_pConversions->setValue(conversionsAtOnce);

    auto* label = new QLabel(CQtText::Message(EMessageId::ConversionsAtOnceLabel));
    label->setBuddy(m_pConversions);
    auto* help = new QLabel(
        CQtText::Message(EMessageId::ConversionsAtOnceHelp, {defaultConversionsAtOnce}));
    help->setWordWrap(true);
    help->setTextFormat(Qt::PlainText);
    help->setMinimumWidth(fontMetrics().averageCharWidth() * 50);

    auto* form = new QFormLayout;
    form->addRow(label, m_pConversions);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(help);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

int COptionsDlg::ConversionsAtOnce() const
{
    return m_pConversions->value();
}
