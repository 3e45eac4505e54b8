// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZeltoView.h"

#include "DesktopOpener.h"
#include "FileListModel.h"
#include "dialogs/QtText.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"
#include "person/MessageBox.h"
#include "person/Prompts.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

#include <algorithm>

CZeltoView::CZeltoView(CZeltoDoc& doc, CPrompts& prompts, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_prompts(prompts), m_pModel(new CFileListModel(doc, this)),
      m_pOwnOpener(std::make_unique<CDesktopOpener>()), m_pOpener(m_pOwnOpener.get())
{
    setModel(m_pModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    setColumnWidth(CFileListModel::ColumnFile, kFileColumnWidth);
    setColumnWidth(CFileListModel::ColumnFolder, kFolderColumnWidth);
}

CZeltoView::~CZeltoView() = default;

void CZeltoView::SetOpener(CDesktopOpener* opener)
{
    m_pOpener = opener ? opener : m_pOwnOpener.get();
}

void CZeltoView::SetCommandGate(std::function<bool(const std::function<void()>&)> gate)
{
    m_gate = std::move(gate);
}

// Read from the selection's ranges: asking row by row whether a row is
// selected takes time in proportion to the number of ranges each time,
// which makes thousands of separately selected rows take seconds.
std::vector<const CConverter*> CZeltoView::GetSelectedConverters() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
    {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<const CConverter*> converters;
    converters.reserve(rows.size());
    for (int row : rows)
    {
        if (const CConverter* converter = m_pModel->ConverterAt(row))
            converters.push_back(converter);
    }
    return converters;
}

void CZeltoView::OnListOpen()
{
    RunCommand([this] { OpenSelected(); });
}

// Nothing waits for the programs that open the files; a failure that an
// opener tells when it ends is reported then, if the list is still there.
void CZeltoView::OpenSelected()
{
    // The paths are taken first: a message runs the event loop, and the
    // list may change meanwhile.
    std::vector<std::string> paths;
    for (const CConverter* converter : GetSelectedConverters())
        paths.emplace_back(converter->m_strTextPath);
    QPointer<CZeltoView> self(this);
    for (const std::string& path : paths)
    {
        int error = m_pOpener->OpenFile(path,
                                        [self, path](int failure)
                                        {
                                            if (self)
                                                self->ReportOpenFailure(path, failure);
                                        });
        if (error != 0)
            ReportOpenFailure(path, error);
    }
}

void CZeltoView::ReportOpenFailure(const std::string& path, int error)
{
    m_prompts.ShowMessage(CMessageBox(EMessageStyle::Plain, EMessageId::OpenFailed, {path, error}));
}

void CZeltoView::OnListRemove()
{
    RunCommand([this] { m_doc.RemoveConverters(TakeSelectedConverters()); });
}

void CZeltoView::OnListDelete()
{
    RunCommand([this] { m_doc.DeleteConverters(TakeSelectedConverters()); });
}

// Remove and Delete leave nothing selected, not even a row whose file could
// not be deleted. The selection goes before the rows do: a selection of many
// separate rows would otherwise be reworked for each range of rows that
// leaves, which makes removing thousands of scattered rows take minutes.
std::vector<const CConverter*> CZeltoView::TakeSelectedConverters()
{
    std::vector<const CConverter*> selected = GetSelectedConverters();
    clearSelection();
    return selected;
}

QMenu* CZeltoView::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    bool anySelected = selectionModel()->hasSelection();
    QAction* open =
        menu->addAction(CQtText::Message(EMessageId::ListOpenMenu), this, &CZeltoView::OnListOpen);
    QAction* remove = menu->addAction(CQtText::Message(EMessageId::ListRemoveMenu), this,
                                      &CZeltoView::OnListRemove);
    QAction* del = menu->addAction(CQtText::Message(EMessageId::ListDeleteMenu), this,
                                   &CZeltoView::OnListDelete);
    for (QAction* action : {open, remove, del})
        action->setEnabled(anySelected);
    return menu;
}

void CZeltoView::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint where = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
    {
        // From the keyboard the menu opens at the current row, brought into
        // sight first, or at the list's top-left corner when there is none.
        if (currentIndex().isValid())
            scrollTo(currentIndex());
        QRect row = visualRect(currentIndex());
        where = viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
    }
    BuildContextMenu()->popup(where);
    event->accept();
}

// Only a double-click of the primary button opens, as in every file list.
void CZeltoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && selectionModel()->hasSelection())
        OnListOpen();
}

void CZeltoView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
        // These keys do nothing in the list.
        event->accept();
        return;
    default:
        QTreeView::keyPressEvent(event);
    }
}

void CZeltoView::RunCommand(const std::function<void()>& command)
{
    if (m_gate)
        m_gate(command);
    else
        command();
}
