#include "OptionsDlg.h"

#include "QtText.h"
#include "doc/AddOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce,
                         int defaultConversionsAtOnce, QWidget* parent)
    : QDialog(parent), m_pConversions(new QSpinBox(this)), m_pTimeLimit(new QSpinBox(this)),
      m_pEachInABox(new QRadioButton(CQtText::Message(EMessageId::ProblemsEachInABox), this)),
      m_pInOneReport(new QRadioButton(CQtText::Message(EMessageId::ProblemsInOneReport), this)),
      m_pReadScanned(new QCheckBox(CQtText::Message(EMessageId::ReadScannedPagesCheck), this)),
      m_pLanguages(new QListWidget(this)), m_pOcrHelp(new QLabel(this))
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

    m_pTimeLimit->setSuffix(CQtText::Message(EMessageId::TimeLimitSuffix));
    m_pTimeLimit->setSpecialValueText(CQtText::Message(EMessageId::TimeLimitNone));
    SetTimeLimit(CConversionOptions::kDefaultTimeLimitSeconds, CAddOptions::kMaxTimeLimitSeconds);
    auto* timeLabel = new QLabel(CQtText::Message(EMessageId::TimeLimitLabel));
    timeLabel->setBuddy(m_pTimeLimit);
    auto* timeForm = new QFormLayout;
    timeForm->addRow(timeLabel, m_pTimeLimit);
    auto* timeHelp = new QLabel(CQtText::Message(EMessageId::TimeLimitHelp));
    timeHelp->setWordWrap(true);
    timeHelp->setTextFormat(Qt::PlainText);

    m_pEachInABox->setChecked(true);
    auto* problems = new QVBoxLayout;
    problems->addWidget(new QLabel(CQtText::Message(EMessageId::ProblemsAtEndLabel)));
    problems->addWidget(m_pEachInABox);
    problems->addWidget(m_pInOneReport);

    auto* languagesLabel = new QLabel(CQtText::Message(EMessageId::OcrLanguagesLabel));
    languagesLabel->setBuddy(m_pLanguages);
    m_pLanguages->setMaximumHeight(fontMetrics().height() * 6);
    m_pOcrHelp->setWordWrap(true);
    m_pOcrHelp->setTextFormat(Qt::PlainText);
    connect(m_pReadScanned, &QCheckBox::toggled, m_pLanguages, &QWidget::setEnabled);
    SetOcr(false, "eng", {});
    auto* ocr = new QVBoxLayout;
    ocr->addWidget(m_pReadScanned);
    ocr->addWidget(languagesLabel);
    ocr->addWidget(m_pLanguages);
    ocr->addWidget(m_pOcrHelp);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(help);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(timeForm);
    column->addWidget(timeHelp);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(problems);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(ocr);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

int COptionsDlg::ConversionsAtOnce() const
{
    return m_pConversions->value();
}

void COptionsDlg::SetTimeLimit(int seconds, int maxSeconds)
{
    m_pTimeLimit->setRange(0, maxSeconds);
    m_pTimeLimit->setValue(seconds);
}

int COptionsDlg::TimeLimit() const
{
    return m_pTimeLimit->value();
}

void COptionsDlg::SetProblemsAtEnd(bool atEnd)
{
    (atEnd ? m_pInOneReport : m_pEachInABox)->setChecked(true);
}

bool COptionsDlg::ProblemsAtEnd() const
{
    return m_pInOneReport->isChecked();
}

void COptionsDlg::SetOcr(bool read, const std::string& languages,
                         const std::vector<std::string>& installed)
{
    QStringList chosen = CQtText::FromText(languages).split('+', Qt::SkipEmptyParts);
    QStringList offered;
    for (const std::string& language : installed)
        offered << CQtText::FromText(language);
    for (const QString& language : chosen)
    {
        if (!offered.contains(language))
            offered << language;
    }
    m_pLanguages->clear();
    for (const QString& language : offered)
    {
        auto* item = new QListWidgetItem(language, m_pLanguages);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(chosen.contains(language) ? Qt::Checked : Qt::Unchecked);
    }
    bool canRead = !installed.empty();
    m_pReadScanned->setEnabled(canRead || read);
    m_pReadScanned->setChecked(read);
    m_pLanguages->setEnabled(read);
    m_pOcrHelp->setText(
        CQtText::Message(canRead ? EMessageId::OcrLanguagesHelp : EMessageId::OcrNotInstalled));
}

bool COptionsDlg::ReadScannedPages() const
{
    return m_pReadScanned->isChecked();
}

std::string COptionsDlg::OcrLanguages() const
{
    QStringList chosen;
    for (int row = 0; row < m_pLanguages->count(); ++row)
    {
        if (m_pLanguages->item(row)->checkState() == Qt::Checked)
            chosen << m_pLanguages->item(row)->text();
    }
    return chosen.isEmpty() ? "eng" : CQtText::ToText(chosen.join('+'));
}

void COptionsDlg::Edit(CAddOptions& options, const std::vector<std::string>& installed,
                       QWidget* parent)
{
    COptionsDlg dialog(options.ConversionsAtOnce(), CAddOptions::kMaxConversionsAtOnce,
                       CAddOptions::DefaultConversionsAtOnce(), parent);
    dialog.SetTimeLimit(options.TimeLimitPerFile(), CAddOptions::kMaxTimeLimitSeconds);
    dialog.SetProblemsAtEnd(options.ProblemsAtEnd());
    dialog.SetOcr(options.ReadScannedPages(), options.OcrLanguages(), installed);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options.SetConversionsAtOnce(dialog.ConversionsAtOnce());
    options.SetTimeLimitPerFile(dialog.TimeLimit());
    options.SetProblemsAtEnd(dialog.ProblemsAtEnd());
    options.SetReadScannedPages(dialog.ReadScannedPages());
    options.SetOcrLanguages(dialog.OcrLanguages());
}
