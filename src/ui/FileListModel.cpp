#include "FileListModel.h"

#include "dialogs/QtText.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"

CFileListModel::CFileListModel(CZeltoDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc)
{
    m_doc.AddObserver(*this);
}

CFileListModel::~CFileListModel()
{
    m_doc.RemoveObserver(*this);
}

const CConverter* CFileListModel::ConverterAt(int row) const
{
    return m_doc.ConverterAt(row);
}

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_doc.RowCount();
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const CConverter* converter = m_doc.ConverterAt(index.row());
    if (!converter)
        return QVariant();
    if (role == Qt::ToolTipRole)
        return CQtText::FromPath(converter->m_strTextPath);
    const std::string& text =
        index.column() == ColumnFile ? converter->m_strTextName : converter->m_strTextFolder;
    return CQtText::FromPath(text);
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    if (section == ColumnFile)
        return CQtText::Message(EMessageId::FileColumnHeader);
    if (section == ColumnFolder)
        return CQtText::Message(EMessageId::FolderColumnHeader);
    return QVariant();
}

void CFileListModel::OnRowAboutToBeInserted(int row)
{
    beginInsertRows(QModelIndex(), row, row);
}

void CFileListModel::OnRowInserted(int /*row*/)
{
    endInsertRows();
}

void CFileListModel::OnRowsAboutToBeRemoved(int first, int last)
{
    beginRemoveRows(QModelIndex(), first, last);
}

void CFileListModel::OnRowsRemoved(int /*first*/, int /*last*/)
{
    endRemoveRows();
}

void CFileListModel::OnAboutToReset()
{
    beginResetModel();
}

void CFileListModel::OnReset()
{
    endResetModel();
}

void CFileListModel::OnFileCountChanged(int count)
{
    emit FileCountChanged(count);
}
