// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddReportDlg.h"

#include "AddReportModel.h"
#include "QtText.h"
#include "doc/AddReport.h"
#include "person/MessageBox.h"
#include "person/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace
{
constexpr int kAllOutcomes = -1;
}

CAddReportDlg::CAddReportDlg(CPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_pModel(new CAddReportModel(this)),
      m_pSorted(new QSortFilterProxyModel(this)), m_pSummary(new QLabel(this)),
      m_pFilter(new QComboBox(this)), m_pTable(new QTableView(this))
{
    setWindowTitle(CQtText::Message(EMessageId::AddReportCaption));
    setModal(false);
    setSizeGripEnabled(true);
    resize(760, 420);

    m_pSummary->setTextFormat(Qt::PlainText);
    m_pSummary->setWordWrap(true);
    m_pSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_pSorted->setSourceModel(m_pModel);
    m_pSorted->setFilterRole(CAddReportModel::kOutcomeRole);
    m_pSorted->setFilterKeyColumn(CAddReportModel::OutcomeColumn);
    m_pSorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_pTable->setModel(m_pSorted);
    m_pTable->setSortingEnabled(true);
    // Until a column is chosen the rows stay in the order they came.
    m_pTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setWordWrap(false);
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->setColumnWidth(CAddReportModel::FileColumn, 300);
    connect(m_pTable, &QTableView::doubleClicked, this, &CAddReportDlg::ShowRowFile);
    auto* copyKey = new QShortcut(QKeySequence::Copy, m_pTable);
    connect(copyKey, &QShortcut::activated, this, &CAddReportDlg::CopySelection);

    auto* filterLabel = new QLabel(CQtText::Message(EMessageId::AddReportShowLabel), this);
    filterLabel->setBuddy(m_pFilter);
    connect(m_pFilter, &QComboBox::currentIndexChanged, this, &CAddReportDlg::ApplyFilter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_pFilter);
    filterRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(CQtText::Message(EMessageId::AddReportCopyButton),
                                           QDialogButtonBox::ActionRole);
    QPushButton* save = buttons->addButton(CQtText::Message(EMessageId::AddReportSaveButton),
                                           QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, &CAddReportDlg::CopySelection);
    connect(save, &QPushButton::clicked, this, &CAddReportDlg::ChooseAndSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAddReportDlg::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_pSummary);
    column->addLayout(filterRow);
    column->addWidget(m_pTable);
    column->addWidget(buttons);
}

void CAddReportDlg::SetReport(std::shared_ptr<const CAddReport> report)
{
    m_pReport = report;
    m_pSummary->setText(report ? CQtText::FromText(report->Summary())
                               : CQtText::Message(EMessageId::AddReportNoneYet));
    m_pModel->SetReport(std::move(report));
    FillFilter();
}

// Offered are the outcomes the report holds, in the order of their kinds.
void CAddReportDlg::FillFilter()
{
    QSignalBlocker quiet(m_pFilter);
    m_pFilter->clear();
    m_pFilter->addItem(CQtText::Message(EMessageId::AddReportAllOutcomes), kAllOutcomes);
    std::set<int> held;
    if (m_pReport)
    {
        for (const CAddReportRow& row : m_pReport->Rows())
            held.insert(static_cast<int>(row.eOutcome));
    }
    for (int outcome : held)
    {
        m_pFilter->addItem(
            CQtText::FromText(CAddReport::OutcomeName(static_cast<EFileOutcome>(outcome))),
            outcome);
    }
    ApplyFilter();
}

void CAddReportDlg::ApplyFilter()
{
    int outcome = m_pFilter->currentData().toInt();
    if (outcome == kAllOutcomes)
        m_pSorted->setFilterRegularExpression(QString());
    else
        m_pSorted->setFilterRegularExpression(QStringLiteral("^%1$").arg(outcome));
}

std::vector<const CAddReportRow*> CAddReportDlg::ShownRows(bool selectedOnly) const
{
    std::vector<const CAddReportRow*> rows;
    QItemSelectionModel* selection = m_pTable->selectionModel();
    for (int row = 0; row < m_pSorted->rowCount(); ++row)
    {
        QModelIndex index = m_pSorted->index(row, 0);
        if (selectedOnly && !selection->isRowSelected(row, {}))
            continue;
        rows.push_back(m_pModel->Row(m_pSorted->mapToSource(index).row()));
    }
    return rows;
}

void CAddReportDlg::CopySelection() const
{
    std::vector<const CAddReportRow*> rows = ShownRows(true);
    if (rows.empty())
        return;
    QApplication::clipboard()->setText(CQtText::FromText(CAddReport::TabSeparated(rows)));
}

void CAddReportDlg::ChooseAndSave()
{
    QString path = QFileDialog::getSaveFileName(
        this, CQtText::Message(EMessageId::AddReportCaption), m_strLastSavePath,
        CQtText::Message(EMessageId::AddReportSaveFilter));
    if (path.isEmpty())
        return;
    if (SaveAs(path))
        m_strLastSavePath = path;
}

bool CAddReportDlg::SaveAs(const QString& path)
{
    QByteArray text = QByteArray::fromStdString(CAddReport::Csv(ShownRows(false)));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    m_prompts.ShowMessage(
        CMessageBox(EMessageStyle::Error, EMessageId::AddReportSaveFailed,
                    {CQtText::ToPath(path), CQtText::ToText(file.errorString())}));
    return false;
}

void CAddReportDlg::ShowRowFile(const QModelIndex& index) const
{
    const CAddReportRow* row = m_pModel->Row(m_pSorted->mapToSource(index).row());
    if (row && m_showFile)
        m_showFile(row->strPath);
}
