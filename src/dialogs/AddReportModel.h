// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include <memory>

class CAddReport;
struct CAddReportRow;

// The rows of one add report as a table: the file's full path, its outcome,
// and the message as its box shows it (with the whole tool report when the
// box shows it cut short).
class CAddReportModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum EColumn
    {
        FileColumn,
        OutcomeColumn,
        MessageColumn,
        ColumnCount
    };
    // The row's outcome as a number, for filtering.
    static constexpr int kOutcomeRole = Qt::UserRole;

    explicit CAddReportModel(QObject* parent = nullptr);

    void SetReport(std::shared_ptr<const CAddReport> report);
    const CAddReportRow* Row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const CAddReport> m_pReport;
};
