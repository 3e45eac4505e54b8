#pragma once

#include "doc/DocObserver.h"

#include <QAbstractTableModel>

class CConverter;
class CZeltoDoc;

// The document's list as a two-column table ("File", "Folder") for the list
// view. It keeps nothing of its own: every cell is read from the document,
// and each change of the list is passed on as it happens, so a list of
// hundreds of thousands of rows stays smooth.
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

    explicit CFileListModel(CZeltoDoc& doc, QObject* parent = nullptr);
    ~CFileListModel() override;

    const CConverter* ConverterAt(int row) const;

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

private:
    CZeltoDoc& m_doc;
};
