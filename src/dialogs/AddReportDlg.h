// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CAddReport;
class CAddReportModel;
class CPrompts;
struct CAddReportRow;
class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

// The report of an add operation, in a window of its own beside the main
// window: a summary line, and a table of every file the operation had
// something to say about, which can be sorted by any column, filtered by
// outcome, copied and saved as comma-separated values.
class CAddReportDlg : public QDialog
{
    Q_OBJECT

public:
    // Failures to save are told through `prompts`.
    explicit CAddReportDlg(CPrompts& prompts, QWidget* parent = nullptr);

    void SetReport(std::shared_ptr<const CAddReport> report);

    // What a double-click on a row does with the row's path: the window
    // that owns the report shows the file in the desktop's file manager.
    void SetFileShower(std::function<void(const std::string&)> shower)
    {
        m_showFile = std::move(shower);
    }

    // The rows as the table shows them (filtered and sorted); with
    // `selectedOnly`, only those selected.
    std::vector<const CAddReportRow*> ShownRows(bool selectedOnly) const;
    // Puts the selected rows on the clipboard as tab-separated text.
    void CopySelection() const;
    // Writes the shown rows to `path` as comma-separated values (UTF-8, a
    // header row first) through a temporary file that replaces `path` only
    // when it is complete. A failure is told; returns whether it was saved.
    bool SaveAs(const QString& path);

    QTableView* Table() const { return m_pTable; }
    QComboBox* OutcomeFilter() const { return m_pFilter; }
    QLabel* SummaryLabel() const { return m_pSummary; }

private:
    void ChooseAndSave();
    void FillFilter();
    void ApplyFilter();
    void ShowRowFile(const QModelIndex& index) const;

    CPrompts& m_prompts;
    std::shared_ptr<const CAddReport> m_pReport;
    CAddReportModel* m_pModel;
    QSortFilterProxyModel* m_pSorted;
    QLabel* m_pSummary;
    QComboBox* m_pFilter;
    QTableView* m_pTable;
    std::function<void(const std::string&)> m_showFile;
    QString m_strLastSavePath;
};
