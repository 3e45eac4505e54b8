// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AddCommands.h"
#include "CommandIds.h"
#include "platform/MessageIds.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CAddReport;
class CAddReportDlg;
class CContextHelpMode;
class CDesktopOpener;
class CMainStatusBar;
class CPathSources;
class CPrompts;
class CSettings;
class CZeltoDoc;
class CZeltoView;
class QToolBar;

// The program's main window: menus, toolbar, keys, the status bar with the
// file count, the list of text files as its client, dropped files and
// folders, and a caption that never changes.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // The settings value that keeps the window's placement.
    static constexpr const char* kPlacementKey = "MainFrame";
    // The window's size at a start without a stored placement.
    static constexpr QSize kFirstSize{720, 480};

    // Dialogs speak through `prompts`; the add commands gather paths from
    // `sources`.
    CMainFrame(CZeltoDoc& doc, CPrompts& prompts, CPathSources& sources, CSettings& settings,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CZeltoView* View() const { return m_pView; }
    QAction* Action(ECommandId id) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    QString FileCountText() const;
    // View > Last Add Report: the report window, made on first use and then
    // kept, showing the last add operation's report.
    void ShowAddReport();
    CAddReportDlg* AddReportWindow() const;
    // Texts of the status bar's lock panes ("CAP", "NUM", "SCRL", or empty).
    QStringList LockPaneTexts() const;

    // Replaces the desktop opener used by the file manager command and the
    // list's Open (tests); the frame does not own it.
    void SetOpener(CDesktopOpener* opener);

    // Restores the stored size, position and show state; call before the
    // window is first shown.
    void RestorePlacement();

    // Adds paths as a drop does: the folder question starts afresh and each
    // path is added in order. Refused while files are being added.
    bool AddDroppedPaths(const std::vector<std::string>& paths);

    // Runs a command that changes the list, unless one is running already;
    // then the person is told and false is returned. A failure the command
    // does not handle is told.
    bool RunGuarded(const std::function<void()>& command);
    bool IsBusy() const { return m_nBusy > 0; }

signals:
    void HelpRequested();
    void AboutRequested();
    void TipRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(ECommandId id, EMessageId label, const std::function<void()>& handler);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateInertKeys();
    // RunGuarded for a command that guards itself (the add commands).
    bool RunBusy(const std::function<void()>& command);
    void UpdateFileCountPane();
    void RefuseWhileBusy();
    void OnToolsExplorer();
    void OnToolsOptions();
    void OnAddEnded(const CAddReport& report);

    CZeltoDoc& m_doc;
    CPrompts& m_prompts;
    CSettings& m_settings;
    CAddCommands m_addCommands;
    const QString m_strCaption;
    CZeltoView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CMainStatusBar* m_pStatusBar = nullptr;
    CContextHelpMode* m_pHelpMode = nullptr;
    QPointer<CAddReportDlg> m_pReportDlg;
    std::unique_ptr<CDesktopOpener> m_pOwnOpener;
    CDesktopOpener* m_pOpener;
    std::map<int, QAction*> m_actions;
    int m_nBusy = 0;
    // Whether the drag going on over the window carries local files.
    bool m_bDragUsable = false;
    // A close asked for while a command ran, to be done when it ends.
    bool m_bCloseWhenIdle = false;
};
