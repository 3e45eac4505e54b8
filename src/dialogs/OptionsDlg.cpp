#include "OptionsDlg.h"

#include "QtText.h"
#include "doc/ZeltoDoc.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(CZeltoDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_pConversions(new QSpinBox(this))
{
    setWindowTitle(CQtText::Message(EMessageId::OptionsCaption));

    m_pConversions->setRange(1, CZeltoDoc::kMaxConversionsAtOnce);
    m_pConversions->setValue(m_doc.ConversionsAtOnce());

    auto* label = new QLabel(CQtText::Message(EMessageId::ConversionsAtOnceLabel));
    label->setBuddy(m_pConversions);
    auto* help = new QLabel(CQtText::Message(EMessageId::ConversionsAtOnceHelp,
                                             {CZeltoDoc::DefaultConversionsAtOnce()}));
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

void COptionsDlg::accept()
{
    m_doc.SetConversionsAtOnce(m_pConversions->value());
    QDialog::accept();
}
