// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsDlg.h"

#include "QtText.h"
#include "doc/AddOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

COptionsDlg::COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce,
                         int defaultConversionsAtOnce, QWidget* parent)
    : QDialog(parent), m_pConversions(new QSpinBox(this)), m_pTimeLimit(new QSpinBox(this)),
      m_pEngine(new QComboBox(this)),
      m_pGarbledCheck(new QCheckBox(CQtText::Message(EMessageId::GarbledCheckCheck), this)),
      m_pTextFolder(new QLineEdit(this)), m_pExistingText(new QComboBox(this)),
      m_pLayout(new QComboBox(this)), m_pLineEnds(new QComboBox(this)),
      m_pPageBreaks(new QCheckBox(CQtText::Message(EMessageId::PageBreaksCheck), this)),
      m_pByteOrderMark(new QCheckBox(CQtText::Message(EMessageId::ByteOrderMarkCheck), this)),
      m_pEachInABox(new QRadioButton(CQtText::Message(EMessageId::ProblemsEachInABox), this)),
      m_pInOneReport(new QRadioButton(CQtText::Message(EMessageId::ProblemsInOneReport), this)),
      m_pReadScanned(new QCheckBox(CQtText::Message(EMessageId::ReadScannedPagesCheck), this)),
      m_pLanguages(new QListWidget(this)), m_pOcrHelp(new QLabel(this))
{
    setWindowTitle(CQtText::Message(EMessageId::OptionsCaption));
    m_pConversions->setRange(1, maxConversionsAtOnce);
    m_pConversions->setValue(conversionsAtOnce);
    m_pConversions->setToolTip(
        CQtText::Message(EMessageId::ConversionsAtOnceHelp, {defaultConversionsAtOnce}));
    m_pTimeLimit->setSuffix(CQtText::Message(EMessageId::TimeLimitSuffix));
    m_pTimeLimit->setSpecialValueText(CQtText::Message(EMessageId::TimeLimitNone));
    m_pTimeLimit->setToolTip(CQtText::Message(EMessageId::TimeLimitHelp));
    SetTimeLimit(CConversionOptions::kDefaultTimeLimitSeconds, CAddOptions::kMaxTimeLimitSeconds);
    SetTextForm(CTextForm{});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    // Two columns keep the dialog within a screen of 1024 by 768.
    auto* grid = new QGridLayout;
    grid->addWidget(ConvertingGroup(), 0, 0);
    grid->addWidget(TextFilesGroup(), 1, 0);
    grid->addWidget(ProblemsGroup(), 2, 0);
    grid->addWidget(ScannedPagesGroup(), 0, 1, 3, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* COptionsDlg::ConvertingGroup()
{
    auto* group = new QGroupBox(CQtText::Message(EMessageId::OptionsConvertingGroup), this);
    auto* form = new QFormLayout(group);
    form->addRow(CQtText::Message(EMessageId::ConversionsAtOnceLabel), m_pConversions);
    form->addRow(CQtText::Message(EMessageId::TimeLimitLabel), m_pTimeLimit);
    // In the order of the engine's values.
    m_pEngine->addItem(CQtText::Message(EMessageId::ExtractionEngineWorkers));
    m_pEngine->addItem(CQtText::Message(EMessageId::ExtractionEnginePdftotext));
    m_pEngine->setToolTip(CQtText::Message(EMessageId::ExtractionEngineHelp));
    form->addRow(CQtText::Message(EMessageId::ExtractionEngineLabel), m_pEngine);
    m_pGarbledCheck->setChecked(true);
    m_pGarbledCheck->setToolTip(CQtText::Message(EMessageId::GarbledCheckHelp));
    form->addRow(m_pGarbledCheck);
    return group;
}

QGroupBox* COptionsDlg::TextFilesGroup()
{
    auto* group = new QGroupBox(CQtText::Message(EMessageId::OptionsTextFilesGroup), this);
    for (EMessageId layout : {EMessageId::TextLayoutPhysical, EMessageId::TextLayoutReadingOrder,
                              EMessageId::TextLayoutRaw})
        m_pLayout->addItem(CQtText::Message(layout));
    m_pLayout->setToolTip(CQtText::Message(EMessageId::TextLayoutHelp));
    for (EMessageId rule : {EMessageId::ExistingTextAsk, EMessageId::ExistingTextKeep,
                            EMessageId::ExistingTextWhenNewer, EMessageId::ExistingTextReplace})
        m_pExistingText->addItem(CQtText::Message(rule));
    m_pExistingText->setToolTip(CQtText::Message(EMessageId::ExistingTextHelp));
    m_pLineEnds->addItem(CQtText::Message(EMessageId::LineEndsLf));
    m_pLineEnds->addItem(CQtText::Message(EMessageId::LineEndsCrLf));
    m_pByteOrderMark->setToolTip(CQtText::Message(EMessageId::ByteOrderMarkHelp));
    m_pTextFolder->setPlaceholderText(CQtText::Message(EMessageId::TextFolderBeside));
    m_pTextFolder->setToolTip(CQtText::Message(EMessageId::TextFolderHelp));
    m_pTextFolder->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    auto* browse = new QPushButton(CQtText::Message(EMessageId::TextFolderBrowse), this);
    connect(browse, &QPushButton::clicked, this, &COptionsDlg::BrowseTextFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_pTextFolder);
    folderRow->addWidget(browse);
    auto* folderLabel = new QLabel(CQtText::Message(EMessageId::TextFolderLabel));
    folderLabel->setBuddy(m_pTextFolder);
    auto* form = new QFormLayout(group);
    form->addRow(folderLabel, folderRow);
    form->addRow(CQtText::Message(EMessageId::ExistingTextLabel), m_pExistingText);
    form->addRow(CQtText::Message(EMessageId::TextLayoutLabel), m_pLayout);
    form->addRow(CQtText::Message(EMessageId::LineEndsLabel), m_pLineEnds);
    form->addRow(m_pPageBreaks);
    form->addRow(m_pByteOrderMark);
    return group;
}

QGroupBox* COptionsDlg::ProblemsGroup()
{
    auto* group = new QGroupBox(CQtText::Message(EMessageId::OptionsProblemsGroup), this);
    m_pEachInABox->setChecked(true);
    auto* problems = new QVBoxLayout(group);
    problems->addWidget(new QLabel(CQtText::Message(EMessageId::ProblemsAtEndLabel)));
    problems->addWidget(m_pEachInABox);
    problems->addWidget(m_pInOneReport);
    return group;
}

QGroupBox* COptionsDlg::ScannedPagesGroup()
{
    auto* group = new QGroupBox(CQtText::Message(EMessageId::OptionsScannedPagesGroup), this);
    auto* languagesLabel = new QLabel(CQtText::Message(EMessageId::OcrLanguagesLabel));
    languagesLabel->setBuddy(m_pLanguages);
    m_pLanguages->setMaximumHeight(fontMetrics().height() * 8);
    m_pOcrHelp->setWordWrap(true);
    m_pOcrHelp->setTextFormat(Qt::PlainText);
    m_pOcrHelp->setMaximumWidth(fontMetrics().averageCharWidth() * 40);
    m_pReadScanned->setToolTip(CQtText::Message(EMessageId::ReadScannedPagesHelp));
    connect(m_pReadScanned, &QCheckBox::toggled, m_pLanguages, &QWidget::setEnabled);
    SetOcr(false, "eng", {});
    auto* ocr = new QVBoxLayout(group);
    ocr->addWidget(m_pReadScanned);
    ocr->addWidget(languagesLabel);
    ocr->addWidget(m_pLanguages);
    ocr->addWidget(m_pOcrHelp);
    ocr->addStretch();
    return group;
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

void COptionsDlg::SetTextFolder(const std::string& folder)
{
    m_pTextFolder->setText(CQtText::FromText(folder));
}

std::string COptionsDlg::TextFolder() const
{
    return CQtText::ToText(m_pTextFolder->text().trimmed());
}

void COptionsDlg::BrowseTextFolder()
{
    QString chosen = QFileDialog::getExistingDirectory(
        this, CQtText::Message(EMessageId::TextFolderLabel).remove('&').remove(':'),
        m_pTextFolder->text());
    if (!chosen.isEmpty())
        m_pTextFolder->setText(chosen);
}

void COptionsDlg::SetExistingText(EExistingText rule)
{
    m_pExistingText->setCurrentIndex(static_cast<int>(rule));
}

EExistingText COptionsDlg::ExistingText() const
{
    return static_cast<EExistingText>(m_pExistingText->currentIndex());
}

void COptionsDlg::SetTextForm(const CTextForm& form)
{
    m_pLayout->setCurrentIndex(static_cast<int>(form.eLayout));
    m_pLineEnds->setCurrentIndex(form.bCrLf ? 1 : 0);
    m_pPageBreaks->setChecked(form.bPageBreaks);
    m_pByteOrderMark->setChecked(form.bByteOrderMark);
}

void COptionsDlg::SetGarbledTextCheck(bool check)
{
    m_pGarbledCheck->setChecked(check);
}

bool COptionsDlg::GarbledTextCheck() const
{
    return m_pGarbledCheck->isChecked();
}

void COptionsDlg::SetExtractionEngine(CConversionOptions::EEngine engine)
{
    m_pEngine->setCurrentIndex(static_cast<int>(engine));
}

CConversionOptions::EEngine COptionsDlg::ExtractionEngine() const
{
    return static_cast<CConversionOptions::EEngine>(m_pEngine->currentIndex());
}

CTextForm COptionsDlg::TextForm() const
{
    CTextForm form;
    form.eLayout = static_cast<CTextForm::ELayout>(m_pLayout->currentIndex());
    form.bCrLf = m_pLineEnds->currentIndex() == 1;
    form.bPageBreaks = m_pPageBreaks->isChecked();
    form.bByteOrderMark = m_pByteOrderMark->isChecked();
    return form;
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
    dialog.SetTextFolder(options.TextFolder());
    dialog.SetExistingText(options.ExistingText());
    dialog.SetTextForm(options.TextForm());
    dialog.SetExtractionEngine(options.ExtractionEngine());
    dialog.SetGarbledTextCheck(options.GarbledTextCheck());
    dialog.SetProblemsAtEnd(options.ProblemsAtEnd());
    dialog.SetOcr(options.ReadScannedPages(), options.OcrLanguages(), installed);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options.SetConversionsAtOnce(dialog.ConversionsAtOnce());
    options.SetTimeLimitPerFile(dialog.TimeLimit());
    options.SetTextFolder(dialog.TextFolder());
    options.SetExistingText(dialog.ExistingText());
    options.SetTextForm(dialog.TextForm());
    options.SetExtractionEngine(dialog.ExtractionEngine());
    options.SetGarbledTextCheck(dialog.GarbledTextCheck());
    options.SetProblemsAtEnd(dialog.ProblemsAtEnd());
    options.SetReadScannedPages(dialog.ReadScannedPages());
    options.SetOcrLanguages(dialog.OcrLanguages());
}
