// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFrame.h"

#include "ContextHelpMode.h"
#include "DesktopOpener.h"
#include "DroppedFiles.h"
#include "FileListModel.h"
#include "FileManagerItem.h"
#include "MainStatusBar.h"
#include "TesseractLanguages.h"
#include "WindowPlacement.h"
#include "ZeltoView.h"
#include "dialogs/AddReportDlg.h"
#include "dialogs/IconSet.h"
#include "dialogs/OptionsDlg.h"
#include "dialogs/QtText.h"
#include "doc/AddReport.h"
#include "doc/CommandGuard.h"
#include "doc/ZeltoDoc.h"
#include "person/Prompts.h"
#include "platform/MemoryRelease.h"
#include "platform/MessageTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace
{
// How long the refusal of a command stays in the status bar.
constexpr int kRefusalMilliseconds = 5000;
} // namespace

CMainFrame::CMainFrame(CZeltoDoc& doc, CPrompts& prompts, CPathSources& sources,
                       CSettings& settings, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_prompts(prompts), m_settings(settings),
      m_addCommands(doc, prompts, sources), m_strCaption(CQtText::Message(EMessageId::MainCaption)),
      m_pOwnOpener(std::make_unique<CDesktopOpener>()), m_pOpener(m_pOwnOpener.get())
{
    setWindowTitle(m_strCaption);
    setWindowIcon(CIconSet::Icon(CIconSet::EIcon::Application));
    setAcceptDrops(true);
    // The first start, before any placement is stored, shows both columns
    // whole; a stored placement replaces this size.
    resize(kFirstSize);

    m_pView = new CZeltoView(doc, prompts, this);
    m_pView->SetCommandGate([this](const std::function<void()>& command)
                            { return RunGuarded(command); });
    setCentralWidget(m_pView);

    m_pHelpMode = new CContextHelpMode(this);
    connect(m_pHelpMode, &CContextHelpMode::HelpRequested, this, &CMainFrame::HelpRequested);
    connect(m_pHelpMode, &CContextHelpMode::ActiveChanged, this,
            [this](bool active)
            {
                if (active)
                    statusBar()->showMessage(CQtText::Message(EMessageId::HelpModeMessage));
                else
                    statusBar()->clearMessage();
            });

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateInertKeys();

    // While a command pours files in, the count follows the rows the list
    // shows rather than each file.
    CFileListModel& model = m_pView->Model();
    connect(&model, &CFileListModel::FileCountChanged, this,
            [this, &model]
            {
                if (!model.IsBatching())
                    UpdateFileCountPane();
            });
    connect(&model, &CFileListModel::WaitingRowsShown, this, &CMainFrame::UpdateFileCountPane);
    m_doc.SetReportHandler([this](const CAddReport& report) { OnAddEnded(report); });
}

// The help mode tells the status bar when it ends; it must end while the
// window's children are all still there.
CMainFrame::~CMainFrame()
{
    m_doc.SetReportHandler({});
    m_pHelpMode->Leave();
}

QAction* CMainFrame::Action(ECommandId id) const
{
    auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::MakeAction(ECommandId id, EMessageId label,
                                const std::function<void()>& handler)
{
    auto* action = new QAction(CQtText::Message(label), this);
    auto messageId = static_cast<EMessageId>(id);
    action->setStatusTip(CQtText::FromText(CMessageTable::Prompt(messageId)));
    QString tooltip = CQtText::FromText(CMessageTable::Tooltip(messageId));
    action->setToolTip(tooltip.isEmpty() ? action->statusTip() : tooltip);
    connect(action, &QAction::triggered, this, [handler] { handler(); });
    m_actions[id] = action;
    return action;
}

void CMainFrame::CreateActions()
{
    using EIcon = CIconSet::EIcon;
    MakeAction(ID_FILE_ADD, EMessageId::AddFileMenu,
               [this] { RunBusy([this] { m_addCommands.AddFiles(); }); })
        ->setIcon(CIconSet::Icon(EIcon::AddFiles));
    MakeAction(ID_FILE_ADD_FOLDER, EMessageId::AddFolderMenu,
               [this] { RunBusy([this] { m_addCommands.AddFolder(); }); })
        ->setIcon(CIconSet::Icon(EIcon::AddFolder));
    QAction* removeAll = MakeAction(ID_FILE_NEW, EMessageId::RemoveAllMenu,
                                    [this] { RunGuarded([this] { m_doc.OnNewDocument(); }); });
    removeAll->setIcon(CIconSet::Icon(EIcon::RemoveAll));
    removeAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    MakeAction(ID_APP_EXIT, EMessageId::ExitMenu, [this] { close(); });

    QAction* paste = MakeAction(ID_EDIT_PASTE, EMessageId::PasteFilesMenu,
                                [this] { RunBusy([this] { m_addCommands.PasteFiles(); }); });
    paste->setIcon(CIconSet::Icon(EIcon::PasteFiles));
    paste->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});

    QAction* toolbar = MakeAction(ID_VIEW_TOOLBAR, EMessageId::ToggleToolbarMenu, [] {});
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* statusBarAction =
        MakeAction(ID_VIEW_STATUS_BAR, EMessageId::ToggleStatusBarMenu, [] {});
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    MakeAction(ID_VIEW_ADD_REPORT, EMessageId::ViewAddReportMenu, [this] { ShowAddReport(); });

    MakeAction(ID_TOOLS_EXPLORER, EMessageId::ToolsExplorerMenu, [this] { OnToolsExplorer(); })
        ->setIcon(CIconSet::Icon(EIcon::FileManager));
    MakeAction(ID_HELP_FINDER, EMessageId::HelpTopicsMenu, [this] { emit HelpRequested(); });
    MakeAction(ID_SHOW_TIP, EMessageId::ShowTipMenu, [this] { emit TipRequested(); });
    // Refused while files are being added, as the count applies to the
    // next add.
    MakeAction(ID_TOOLS_OPTIONS, EMessageId::OptionsMenu,
               [this] { RunGuarded([this] { OnToolsOptions(); }); });
    MakeAction(ID_APP_ABOUT, EMessageId::AboutMenu, [this] { emit AboutRequested(); })
        ->setIcon(CIconSet::Icon(EIcon::About));

    QAction* help = MakeAction(ID_HELP, EMessageId::HelpCommand, [this] { emit HelpRequested(); });
    help->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* contextHelp = MakeAction(ID_CONTEXT_HELP, EMessageId::ContextHelpCommand,
                                      [this] { m_pHelpMode->Enter(); });
    contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    for (QAction* keyOnly : {help, contextHelp})
    {
        keyOnly->setShortcutContext(Qt::WindowShortcut);
        addAction(keyOnly);
    }
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(CQtText::Message(EMessageId::FileMenuTitle));
    file->addAction(Action(ID_FILE_ADD));
    file->addAction(Action(ID_FILE_ADD_FOLDER));
    file->addAction(Action(ID_FILE_NEW));
    file->addSeparator();
    file->addAction(Action(ID_APP_EXIT));

    menuBar()
        ->addMenu(CQtText::Message(EMessageId::EditMenuTitle))
        ->addAction(Action(ID_EDIT_PASTE));

    QMenu* view = menuBar()->addMenu(CQtText::Message(EMessageId::ViewMenuTitle));
    view->addAction(Action(ID_VIEW_TOOLBAR));
    view->addAction(Action(ID_VIEW_STATUS_BAR));
    view->addSeparator();
    view->addAction(Action(ID_VIEW_ADD_REPORT));

    QMenu* tools = menuBar()->addMenu(CQtText::Message(EMessageId::ToolsMenuTitle));
    tools->addAction(Action(ID_TOOLS_EXPLORER));
    tools->addSeparator();
    tools->addAction(Action(ID_TOOLS_OPTIONS));

    QMenu* help = menuBar()->addMenu(CQtText::Message(EMessageId::HelpMenuTitle));
    help->addAction(Action(ID_HELP_FINDER));
    help->addAction(Action(ID_SHOW_TIP));
    help->addSeparator();
    help->addAction(Action(ID_APP_ABOUT));
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(CQtText::Message(EMessageId::ToolbarTitle), this);
    m_pToolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->addAction(Action(ID_FILE_ADD));
    m_pToolBar->addAction(Action(ID_FILE_ADD_FOLDER));
    m_pToolBar->addAction(Action(ID_FILE_NEW));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action(ID_EDIT_PASTE));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action(ID_TOOLS_EXPLORER));
    m_pToolBar->addAction(Action(ID_APP_ABOUT));
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    QAction* toggle = Action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, m_pToolBar, &QToolBar::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, toggle,
            [this, toggle](bool)
            {
                // Hiding the main window hides the bar too; only a bar hidden
                // on its own clears the check mark.
                if (isVisible())
                    toggle->setChecked(m_pToolBar->isVisible());
            });
}

void CMainFrame::CreateStatusBar()
{
    m_pStatusBar = new CMainStatusBar(this);
    setStatusBar(m_pStatusBar);
    UpdateFileCountPane();
    connect(Action(ID_VIEW_STATUS_BAR), &QAction::toggled, m_pStatusBar, &QStatusBar::setVisible);
}

// The standard copy, cut, undo and pane keys have nothing to act on here;
// they are caught so that they do nothing anywhere in the window.
void CMainFrame::CreateInertKeys()
{
    const QKeySequence keys[] = {
        QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert),
        QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete),
        QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace),
        QKeySequence(Qt::Key_F6),           QKeySequence(Qt::SHIFT | Qt::Key_F6),
    };
    for (const QKeySequence& key : keys)
    {
        auto* inert = new QAction(this);
        inert->setShortcut(key);
        inert->setShortcutContext(Qt::WindowShortcut);
        addAction(inert);
    }
}

QString CMainFrame::FileCountText() const
{
    return m_pStatusBar->FileCountText();
}

QStringList CMainFrame::LockPaneTexts() const
{
    return m_pStatusBar->LockPaneTexts();
}

void CMainFrame::SetOpener(CDesktopOpener* opener)
{
    m_pOpener = opener ? opener : m_pOwnOpener.get();
    m_pView->SetOpener(opener);
}

void CMainFrame::UpdateFileCountPane()
{
    m_pStatusBar->SetFileCount(m_doc.GetFileCount());
}

void CMainFrame::RestorePlacement()
{
    CWindowPlacement(m_settings).Restore(*this, kPlacementKey);
}

// Nothing may leave a slot: what no command handles itself (memory running
// out) is told, and what was done before it stays.
bool CMainFrame::RunGuarded(const std::function<void()>& command)
{
    return RunBusy(
        [this, &command]
        {
            const std::string noPath;
            CCommandGuard(m_prompts, noPath).Run(command);
        });
}

bool CMainFrame::RunBusy(const std::function<void()>& command)
{
    if (m_nBusy > 0)
    {
        RefuseWhileBusy();
        return false;
    }
    ++m_nBusy;
    m_pView->Model().BeginBatch();
    command();
    m_pView->Model().EndBatch();
    --m_nBusy;
    UpdateFileCountPane();
    // A command may have used much memory for a while (an add's queue and
    // folder listings).
    CMemoryRelease::ReturnFreeMemory();
    if (m_nBusy == 0 && m_bCloseWhenIdle)
    {
        m_bCloseWhenIdle = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
    return true;
}

void CMainFrame::RefuseWhileBusy()
{
    QApplication::beep();
    statusBar()->showMessage(CQtText::Message(EMessageId::BusyRefusal), kRefusalMilliseconds);
}

bool CMainFrame::AddDroppedPaths(const std::vector<std::string>& paths)
{
    return RunBusy([this, &paths] { m_addCommands.AddDropped(paths); });
}

void CMainFrame::OnToolsExplorer()
{
    m_pOpener->StartFileManager();
    activateWindow();
}

// The choices are stored only when the person accepts the dialog, and apply
// from the next add operation on.
void CMainFrame::OnToolsOptions()
{
    COptionsDlg::Edit(m_doc.Options(), CTesseractLanguages::Installed(), this);
}

// The report comes up by itself only when it holds messages the person has
// not seen; otherwise everything was told in boxes already. A report window
// that is open always shows the last report.
void CMainFrame::OnAddEnded(const CAddReport& report)
{
    if (!report.HasUnseenRows())
    {
        if (m_pReportDlg && m_pReportDlg->isVisible())
            m_pReportDlg->SetReport(m_doc.LastAddReport());
        return;
    }
    ShowAddReport();
    statusBar()->showMessage(CQtText::FromText(report.Summary()));
}

CAddReportDlg* CMainFrame::AddReportWindow() const
{
    return m_pReportDlg;
}

void CMainFrame::ShowAddReport()
{
    if (!m_pReportDlg)
    {
        m_pReportDlg = new CAddReportDlg(m_prompts, this);
        m_pReportDlg->SetFileShower(&CFileManagerItem::Show);
    }
    m_pReportDlg->SetReport(m_doc.LastAddReport());
    m_pReportDlg->show();
    m_pReportDlg->raise();
    m_pReportDlg->activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (IsBusy())
    {
        // The list must not go from under a running command: files still
        // waiting to be added are given up, and the window closes as soon
        // as the command has ended.
        event->ignore();
        m_bCloseWhenIdle = true;
        m_doc.CancelAdding();
        return;
    }
    CWindowPlacement(m_settings).Save(*this, kPlacementKey);
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != m_strCaption)
        setWindowTitle(m_strCaption);
    QMainWindow::changeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    // The URLs are read once per drag; a drag of thousands of files would
    // otherwise be parsed at every move of the pointer.
    m_bDragUsable = !CDroppedFiles::LocalPaths(event->mimeData()).empty();
    dragMoveEvent(event);
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_bDragUsable && !IsBusy() && CDroppedFiles::ChooseAction(*event))
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths = CDroppedFiles::LocalPaths(event->mimeData());
    if (paths.empty() || !CDroppedFiles::ChooseAction(*event))
    {
        event->ignore();
        return;
    }
    if (IsBusy())
    {
        event->ignore();
        RefuseWhileBusy();
        return;
    }
    event->accept();
    activateWindow();
    // The drop is finished first so that the program the files came from
    // is not held up while they are converted.
    QTimer::singleShot(0, this, [this, paths] { AddDroppedPaths(paths); });
}
