// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileListModel.h"

#include "dialogs/QtText.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"

#include <QTimer>

#include <algorithm>

namespace
{
// Every waiting row is renumbered when a row enters above it, so their
// number is bounded too: past it they are shown at once.
constexpr std::size_t kMaxWaitingRows = 2048;
// Rows of a large folder enter all over the list. Each separate insertion
// costs a view of many rows time in proportion to its length, so past this
// many the waiting rows enter as one change of the layout instead.
constexpr std::size_t kMaxSeparateInsertions = 16;
} // namespace

CFileListModel::CFileListModel(CZeltoDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc), m_nShownRows(doc.RowCount()),
      m_pShowTimer(new QTimer(this))
{
    m_pShowTimer->setSingleShot(true);
    m_pShowTimer->setInterval(kBatchMilliseconds);
    connect(m_pShowTimer, &QTimer::timeout, this, &CFileListModel::ShowWaitingRows);
    m_doc.AddObserver(*this);
}

CFileListModel::~CFileListModel()
{
    m_doc.RemoveObserver(*this);
}

const CConverter* CFileListModel::ConverterAt(int row) const
{
    if (row < 0 || row >= m_nShownRows)
        return nullptr;
    return m_doc.ConverterAt(DocRow(row));
}

void CFileListModel::BeginBatch()
{
    if (m_nBatchDepth++ == 0)
        m_sinceShown.start();
}

void CFileListModel::EndBatch()
{
    if (m_nBatchDepth == 0 || --m_nBatchDepth > 0)
        return;
    ShowWaitingRows();
}

// The shown rows are the document's rows less the waiting ones, in order:
// shown row `row` is the document's row `row` + the number of waiting rows
// before it, which are those whose number less their index is at most `row`.
int CFileListModel::DocRow(int row) const
{
    std::size_t low = m_nFirstWaiting;
    std::size_t high = m_waitingRows.size();
    while (low < high)
    {
        std::size_t middle = low + (high - low) / 2;
        if (m_waitingRows[middle] - static_cast<int>(middle - m_nFirstWaiting) <= row)
            low = middle + 1;
        else
            high = middle;
    }
    return row + static_cast<int>(low - m_nFirstWaiting);
}

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nShownRows;
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const CConverter* converter = ConverterAt(index.row());
    if (!converter)
        return QVariant();
    if (role == Qt::ToolTipRole)
        return CQtText::FromPath(converter->m_strTextPath);
    std::string_view text =
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
    if (!IsBatching())
        beginInsertRows(QModelIndex(), row, row);
}

void CFileListModel::OnRowInserted(int row)
{
    if (IsBatching())
    {
        AddWaitingRow(row);
        return;
    }
    ++m_nShownRows;
    endInsertRows();
}

// The rows are shown when the time is up even if the event loop does not
// run meanwhile; the timer shows the last ones of a pause.
void CFileListModel::AddWaitingRow(int docRow)
{
    for (int& waiting : m_waitingRows)
    {
        if (waiting >= docRow)
            ++waiting;
    }
    m_waitingRows.insert(std::upper_bound(m_waitingRows.begin(), m_waitingRows.end(), docRow),
                         docRow);
    if (m_sinceShown.elapsed() >= kBatchMilliseconds || m_waitingRows.size() >= kMaxWaitingRows)
        ShowWaitingRows();
    else if (!m_pShowTimer->isActive())
        m_pShowTimer->start();
}

// In ascending order, each waiting row's place among the shown rows is its
// number in the document: every row above it is shown by then. A run of
// consecutive rows is shown in one step.
void CFileListModel::ShowWaitingRows()
{
    m_pShowTimer->stop();
    m_sinceShown.start();
    if (m_waitingRows.empty())
        return;
    if (SeparateInsertions() > kMaxSeparateInsertions)
    {
        ShowWaitingRowsInOneChange();
        return;
    }
    while (m_nFirstWaiting < m_waitingRows.size())
    {
        int first = m_waitingRows[m_nFirstWaiting];
        std::size_t count = 1;
        while (m_nFirstWaiting + count < m_waitingRows.size() &&
               m_waitingRows[m_nFirstWaiting + count] == first + static_cast<int>(count))
            ++count;
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(count) - 1);
        m_nFirstWaiting += count;
        m_nShownRows += static_cast<int>(count);
        endInsertRows();
    }
    m_waitingRows.clear();
    m_nFirstWaiting = 0;
    emit WaitingRowsShown();
}

std::size_t CFileListModel::SeparateInsertions() const
{
    std::size_t runs = 0;
    for (std::size_t i = 0; i < m_waitingRows.size(); ++i)
        runs += i == 0 || m_waitingRows[i] != m_waitingRows[i - 1] + 1;
    return runs;
}

// Every index a view keeps (selection, current row) moves to where its row
// is in the document now.
void CFileListModel::ShowWaitingRowsInOneChange()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& kept : before)
        rows.push_back(DocRow(kept.row()));
    m_nShownRows += static_cast<int>(m_waitingRows.size());
    m_waitingRows.clear();
    m_nFirstWaiting = 0;
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rows[static_cast<std::size_t>(i)], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit WaitingRowsShown();
}

// Removals and resets are passed on at once, with every waiting row shown
// first so that the numbers told are those the view knows.
void CFileListModel::OnRowsAboutToBeRemoved(int first, int last)
{
    ShowWaitingRows();
    beginRemoveRows(QModelIndex(), first, last);
}

void CFileListModel::OnRowsRemoved(int first, int last)
{
    m_nShownRows -= last - first + 1;
    endRemoveRows();
}

void CFileListModel::OnAboutToReset()
{
    beginResetModel();
}

void CFileListModel::OnReset()
{
    m_pShowTimer->stop();
    m_waitingRows.clear();
    m_nFirstWaiting = 0;
    m_nShownRows = m_doc.RowCount();
    endResetModel();
}

void CFileListModel::OnFileCountChanged(int count)
{
    emit FileCountChanged(count);
}
