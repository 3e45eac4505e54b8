// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeView>

#include <functional>
#include <string>
#include <vector>

class CConverter;
class CDesktopOpener;
class CFileListModel;
class CPrompts;
class CZeltoDoc;
class QMenu;

// The list of text files: one row per listed file with its name and folder,
// in the document's order. Its context menu and a double-click open, remove
// or delete the selected files.
class CZeltoView : public QTreeView
{
    Q_OBJECT

public:
    static constexpr int kFileColumnWidth = 150;
    static constexpr int kFolderColumnWidth = 300;

    CZeltoView(CZeltoDoc& doc, CPrompts& prompts, QWidget* parent = nullptr);
    ~CZeltoView() override;

    // Replaces the desktop opener (tests); the view does not own it.
    void SetOpener(CDesktopOpener* opener);
    // Every command of the view runs through this gate: it returns false
    // when the command must not run now (the window is busy adding files).
    void SetCommandGate(std::function<bool(const std::function<void()>&)> gate);

    CFileListModel& Model() const { return *m_pModel; }

    // The converters of the selected rows, in ascending row order.
    std::vector<const CConverter*> GetSelectedConverters() const;

    void OnListOpen();
    void OnListRemove();
    void OnListDelete();

    // The context menu as it would be shown now (for tests).
    QMenu* BuildContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenSelected();
    void ReportOpenFailure(const std::string& path, int error);
    // The selected converters, with the selection cleared.
    std::vector<const CConverter*> TakeSelectedConverters();
    void RunCommand(const std::function<void()>& command);

    CZeltoDoc& m_doc;
    CPrompts& m_prompts;
    CFileListModel* m_pModel;
    std::unique_ptr<CDesktopOpener> m_pOwnOpener;
    CDesktopOpener* m_pOpener;
    std::function<bool(const std::function<void()>&)> m_gate;
};
