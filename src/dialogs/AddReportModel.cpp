// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddReportModel.h"

#include "QtText.h"
#include "doc/AddReport.h"

CAddReportModel::CAddReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void CAddReportModel::SetReport(std::shared_ptr<const CAddReport> report)
{
    beginResetModel();
    m_pReport = std::move(report);
    endResetModel();
}

const CAddReportRow* CAddReportModel::Row(int row) const
{
    if (!m_pReport || row < 0 || row >= rowCount())
        return nullptr;
    return &m_pReport->Rows()[static_cast<std::size_t>(row)];
}

int CAddReportModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_pReport)
        return 0;
    return static_cast<int>(m_pReport->Rows().size());
}

int CAddReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CAddReportModel::data(const QModelIndex& index, int role) const
{
    const CAddReportRow* row = Row(index.row());
    if (!row)
        return {};
    if (role == kOutcomeRole)
        return static_cast<int>(row->eOutcome);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column())
    {
    case FileColumn:
        return CQtText::FromPath(row->strPath);
    case OutcomeColumn:
        return CQtText::FromText(CAddReport::OutcomeName(row->eOutcome));
    case MessageColumn:
        return CQtText::FromText(row->FullMessage());
    }
    return {};
}

QVariant CAddReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section)
    {
    case FileColumn:
        return CQtText::Message(EMessageId::AddReportFileColumn);
    case OutcomeColumn:
        return CQtText::Message(EMessageId::AddReportOutcomeColumn);
    case MessageColumn:
        return CQtText::Message(EMessageId::AddReportMessageColumn);
    }
    return {};
}
