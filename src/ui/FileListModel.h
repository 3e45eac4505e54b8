// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "doc/DocObserver.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>

#include <vector>

class CConverter;
class CZeltoDoc;
class QTimer;

// The document's list as a two-column table ("File", "Folder") for the list
// view. It keeps no rows of its own: every cell is read from the document,
// and each change of the list is passed on as it happens, so a list of
// hundreds of thousands of rows stays smooth.
//
// While a batch is open (a command of the window runs), rows that enter the
// list are shown together a few times a second instead of one by one: a
// view that relaid and repainted a long list for every file would cost more
// than the file itself. Until they are shown the model leaves them out, so
// what it shows is always a consistent, slightly older state of the list.
class CFileListModel : public QAbstractTableModel, public CDocObserver
{
    Q_OBJECT

public:
    enum EColumn
    {
        ColumnFile = 0,
        ColumnFolder = 1,
        ColumnCount = 2
    };

    // How long a row that enters during a batch may wait to be shown.
    static constexpr int kBatchMilliseconds = 200;

    explicit CFileListModel(CZeltoDoc& doc, QObject* parent = nullptr);
    ~CFileListModel() override;

    const CConverter* ConverterAt(int row) const;

    // Batches nest; the rows still waiting are shown when the last ends.
    void BeginBatch();
    void EndBatch();
    bool IsBatching() const { return m_nBatchDepth > 0; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void OnRowAboutToBeInserted(int row) override;
    void OnRowInserted(int row) override;
    void OnRowsAboutToBeRemoved(int first, int last) override;
    void OnRowsRemoved(int first, int last) override;
    void OnAboutToReset() override;
    void OnReset() override;
    void OnFileCountChanged(int count) override;

signals:
    void FileCountChanged(int count);
    // Rows that waited in a batch have been shown.
    void WaitingRowsShown();

private:
    // The document's row shown at `row`.
    int DocRow(int row) const;
    void AddWaitingRow(int docRow);
    void ShowWaitingRows();
    std::size_t SeparateInsertions() const;
    void ShowWaitingRowsInOneChange();

    CZeltoDoc& m_doc;
    int m_nShownRows = 0;
    int m_nBatchDepth = 0;
    // The document's rows not shown yet, ascending, numbered as the
    // document numbers them now; those before `m_nFirstWaiting` are being
    // shown.
    std::vector<int> m_waitingRows;
    std::size_t m_nFirstWaiting = 0;
    QTimer* m_pShowTimer;
    QElapsedTimer m_sinceShown;
};
