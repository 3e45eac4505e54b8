// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menus, toolbar, keys, status bar, caption, drops, the
// file manager and the placement kept across runs, driven as a person would
// on a real document that converts PDFs with the real pdftotext.

#include "DocRows.h"
#include "FakeTool.h"
#include "ModalDriver.h"
#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "UiListing.h"
#include "dialogs/AddReportDlg.h"
#include "dialogs/OptionsDlg.h"
#include "dialogs/QtText.h"
#include "doc/AddReport.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "ui/DesktopOpener.h"
#include "ui/LockKeyState.h"
#include "ui/MainFrame.h"
#include "ui/QtSettings.h"
#include "ui/WindowPlacement.h"
#include "ui/ZeltoView.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace
{
using Paths = std::vector<std::string>;

std::string CurrentPath()
{
    const char* path = std::getenv("PATH");
    return path ? path : "/usr/bin:/bin";
}

// Records what the window hands to the desktop.
class CRecordingOpener : public CDesktopOpener
{
public:
    int OpenFile(const std::string& path, FFailed /*onFailed*/) override
    {
        m_opened.push_back(path);
        return 0;
    }
    bool StartFileManager() override
    {
        ++m_nFileManagerStarts;
        return m_bFileManagerStarts;
    }

    Paths m_opened;
    int m_nFileManagerStarts = 0;
    bool m_bFileManagerStarts = true;
};

// The window on a document of its own, with settings in an INI file of a
// temporary folder (or of the given path, to see what a second run finds).
struct CFrameRig
{
    explicit CFrameRig(const QString& settingsFile = QString())
        : settings(settingsFile.isEmpty() ? QString::fromStdString(settingsDir / "Zelto.ini")
                                          : settingsFile),
          table(std::make_shared<CConverterContext>()), doc(table, prompts, prompts, settings),
          frame(doc, prompts, prompts, settings)
    {
        frame.SetOpener(&opener);
        frame.resize(700, 500);
    }

    bool ShowActive()
    {
        frame.show();
        frame.activateWindow();
        return QTest::qWaitForWindowActive(&frame);
    }

    std::string Pdf(const std::string& name) const
    {
        return dir.Write(name, CPdfMaker::Build({"Text of " + name}));
    }
    static std::string TextOf(const std::string& pdf)
    {
        return pdf.substr(0, pdf.size() - 3) + "txt";
    }

    Paths ListedSources() const { return CDocRows::Sources(doc); }

    QLabel* Pane(const char* name) const { return frame.statusBar()->findChild<QLabel*>(name); }

    CTempDir dir;
    CTempDir settingsDir;
    CScriptedPrompts prompts;
    CQtSettings settings;
    CConverterTable table;
    CZeltoDoc doc;
    CRecordingOpener opener;
    CMainFrame frame;
};

QUrl Url(const std::string& path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

// What became of one drag over the list and its drop.
struct CDropResult
{
    bool bEnterAccepted = false;
    bool bDropAccepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Drags the URLs over the list and drops them there, as a file manager
// would. The window takes a drop at its list as its own.
CDropResult Drop(CMainFrame& frame, const QList<QUrl>& urls,
                 Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMimeData data;
    data.setUrls(urls);
    QWidget* list = frame.View()->viewport();
    QPoint where = list->rect().center();
    CDropResult result;
    QDragEnterEvent enter(where, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list, &enter);
    result.bEnterAccepted = enter.isAccepted();
    if (!result.bEnterAccepted)
        return result;
    QDropEvent drop(where, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list, &drop);
    result.bDropAccepted = drop.isAccepted();
    result.action = drop.dropAction();
    return result;
}

QMenu* MenuOf(const CMainFrame& frame, const QString& title)
{
    for (QAction* action : frame.menuBar()->actions())
    {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

std::optional<CWindowPlacement::CValue> StoredPlacement(const CSettings& settings)
{
    return CWindowPlacement::Parse(settings.GetString("", CMainFrame::kPlacementKey));
}
} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_pRig = std::make_unique<CFrameRig>(); }
    void cleanup()
    {
        if (m_pRig)
            QCOMPARE(m_pRig->prompts.UnexpectedChoices(), 0);
        m_pRig.reset();
    }

    void MenusToolbarAndStatusBar_AreAsListed();
    void NoItem_IsEverGrayed();
    void PromptOfAHighlightedItem_ShowsInTheStatusBar();
    void MenuItems_ReachTheirCommands();
    void CtrlR_RemovesAllFiles();
    void PasteKeys_PasteFiles_data();
    void PasteKeys_PasteFiles();
    void F1_AsksForHelp();
    void ShiftF1ThenAClick_AsksForHelpInsteadOfClicking();
    void ShiftF1ThenEscape_LeavesWithoutHelp();
    void ShiftF1ThenExit_EndsTheModeWithTheWindow();
    void InertKeys_DoNothing_data();
    void InertKeys_DoNothing();
    void ViewMenu_HidesAndShowsTheBarsWithCheckMarks();
    void ToolbarHiddenElsewhere_ClearsItsCheckMark();
    void StatusPanes_HoldTheirLongestTexts();
    void FileCountPane_FollowsTheList();
    void LockPanes_FollowTheModifiersOfKeyEvents();
    void Caption_StaysWhateverSetsIt();
    void Drop_AddsFilesAndFoldersInDropOrder();
    void Drop_SkipsWhatIsNotALocalFile();
    void Drop_AsksAboutAFolderAgainAfterAnEarlierNoToAll();
    void Drop_IsACopyEvenWhenAMoveIsProposed();
    void Drop_WhileBusy_IsRefused();
    void Drop_ActivatesTheWindow();
    void FileManager_IsStartedAndTheWindowStaysActive();
    void FileManager_IsTheDesktopsOpenerOnTheHomeFolder();
    void FileManager_ThatCannotStart_IsNotReported();
    void Options_ShowsTheCountInUseAndStoresOnlyAnAcceptedOne();
    void ReportWindow_ComesByItselfOnlyWithProblemsNotShown();
    void FirstStart_ShowsBothColumnsWhole();
    void Close_StoresThePlacement();
    void Close_WhileMaximised_RestoresMaximised();
    void Exit_ClosesAndStoresThePlacement();
    void Close_WhileBusy_WaitsForTheCommandToEnd();
    void Close_WhileAdding_GivesUpTheRestAndCloses();
    void UnexpectedFailureOfACommand_IsToldAndTheWindowGoesOn();

private:
    std::unique_ptr<CFrameRig> m_pRig;
};

// Every menu, item, shortcut, check mark, prompt and tooltip, the toolbar's
// buttons and the status bar's panes, in order.
void TestMainFrame::MenusToolbarAndStatusBar_AreAsListed()
{
    QVERIFY(m_pRig->ShowActive());
    QString expected = QStringLiteral(R"(&File
  Add... | Add file(s) to the file list | Add file(s) to File List
  Add Folder... | Add folder contents to the file list | Add folder contents
  &Remove All\tCtrl+R {Ctrl+R} | Remove all files from the file list | Removes all files
  ---
  E&xit | Exit Zelto | Exit
&Edit
  &Paste Files\tCtrl+V {Ctrl+V; Shift+Ins} | Paste files names into the file list | Paste Files
&View
  &Toolbar [x] | Show or hide the toolbar | Toggle ToolBar
  &Status Bar [x] | Show or hide the status bar | Toggle StatusBar
  ---
  Last Add &Report | Show what the last add operation met | Last Add Report
&Tools
  File Manager | Run the file manager | Run File Manager
  ---
  &Options... | Change how files are converted | Options
&Help
  &Help Topics | List Help topics | Help Topics
  Tip of the Day... | Displays a Tip of the Day. | Displays a Tip of the Day.
  ---
  &About Zelto... | Display program information, version number and copyright | About
toolbar Toolbar (TopToolBarArea, movable, 16x16 icons)
  &File > Add...
  &File > Add Folder...
  &File > &Remove All\tCtrl+R
  ---
  &Edit > &Paste Files\tCtrl+V
  ---
  &Tools > File Manager
  &Help > &About Zelto...
status bar
  IdlePane
  FileCountPane (fixed width)
  CapsPane (fixed width)
  NumPane (fixed width)
  ScrollPane (fixed width))");
#ifdef _WIN32
    expected.replace("File Manager | Run the file manager | Run File Manager",
                     "Windows Explorer | Run Windows Explorer | Run Explorer");
    expected.replace("> File Manager", "> Windows Explorer");
#endif
    QCOMPARE(CUiListing::MainWindow(m_pRig->frame), expected.split('\n'));
}

// Nothing is grayed, not with files listed either, nor while a command runs.
void TestMainFrame::NoItem_IsEverGrayed()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    const QStringList idle = CUiListing::MainWindow(frame);
    QCOMPARE(idle.filter("(disabled)"), QStringList());
    QVERIFY(frame.AddDroppedPaths({m_pRig->Pdf("a.pdf")}));
    QCOMPARE(m_pRig->doc.RowCount(), 1);
    QCOMPARE(CUiListing::MainWindow(frame), idle);
    QStringList whileBusy;
    QVERIFY(frame.RunGuarded([&] { whileBusy = CUiListing::MainWindow(frame); }));
    QCOMPARE(whileBusy, idle);
}

void TestMainFrame::PromptOfAHighlightedItem_ShowsInTheStatusBar()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    QMenu* file = MenuOf(frame, "&File");
    file->popup(frame.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    file->setActiveAction(frame.Action(ID_FILE_NEW));
    QCOMPARE(frame.statusBar()->currentMessage(),
             QStringLiteral("Remove all files from the file list"));
    file->setActiveAction(frame.Action(ID_APP_EXIT));
    QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Exit Zelto"));
    file->close();
    QTRY_VERIFY(frame.statusBar()->currentMessage().isEmpty());
    QCOMPARE(m_pRig->Pane("IdlePane")->text(), QStringLiteral("For Help, press F1"));
    QVERIFY(m_pRig->Pane("IdlePane")->isVisible());
}

void TestMainFrame::MenuItems_ReachTheirCommands()
{
    CMainFrame& frame = m_pRig->frame;
    QSignalSpy help(&frame, &CMainFrame::HelpRequested);
    QSignalSpy tip(&frame, &CMainFrame::TipRequested);
    QSignalSpy about(&frame, &CMainFrame::AboutRequested);
    frame.Action(ID_HELP_FINDER)->trigger();
    frame.Action(ID_SHOW_TIP)->trigger();
    frame.Action(ID_APP_ABOUT)->trigger();
    QCOMPARE(help.count(), 1);
    QCOMPARE(tip.count(), 1);
    QCOMPARE(about.count(), 1);

    // The dialogs offer the filter and start in the folder last used.
    std::string file = m_pRig->Pdf("chosen.pdf");
    m_pRig->prompts.SetChosenFiles({file});
    frame.Action(ID_FILE_ADD)->trigger();
    QCOMPARE(m_pRig->ListedSources(), (Paths{file}));
    using Dialog = std::pair<std::string, std::string>;
    QCOMPARE(m_pRig->prompts.FileDialogs(), (std::vector<Dialog>{{"All Valid (*.pdf)", ""}}));

    std::string inFolder = m_pRig->Pdf("folder/inside.pdf");
    m_pRig->prompts.SetChosenFolder(m_pRig->dir / "folder");
    m_pRig->prompts.AnswerFolderNext(FolderAnswerYes);
    frame.Action(ID_FILE_ADD_FOLDER)->trigger();
    QCOMPARE(m_pRig->ListedSources(), (Paths{file, inFolder}));
    QCOMPARE(m_pRig->prompts.FolderDialogs(),
             (std::vector<Dialog>{
                 {m_pRig->dir.Path() + "/", "Select folder from which to add files:"}}));

    // A cancelled chooser asks and adds nothing.
    m_pRig->prompts.SetChosenFolder(std::nullopt);
    frame.Action(ID_FILE_ADD_FOLDER)->trigger();
    QCOMPARE(m_pRig->doc.RowCount(), 2);
    QCOMPARE(m_pRig->prompts.FolderQuestions().size(), std::size_t(1));
    QVERIFY(m_pRig->prompts.Messages().empty());
}

void TestMainFrame::CtrlR_RemovesAllFiles()
{
    QVERIFY(m_pRig->ShowActive());
    std::string a = m_pRig->Pdf("a.pdf");
    std::string b = m_pRig->Pdf("b.pdf");
    m_pRig->frame.AddDroppedPaths({a, b});
    QCOMPARE(m_pRig->doc.RowCount(), 2);
    QTest::keyClick(m_pRig->frame.View(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(m_pRig->doc.RowCount(), 0);
    QCOMPARE(m_pRig->frame.View()->model()->rowCount(), 0);
    QCOMPARE(m_pRig->frame.FileCountText(), QStringLiteral("Files 0"));
    // The text files stay on disk.
    QVERIFY(std::filesystem::exists(CFrameRig::TextOf(a)));
}

void TestMainFrame::PasteKeys_PasteFiles_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert)
                                  << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestMainFrame::PasteKeys_PasteFiles()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QVERIFY(m_pRig->ShowActive());
    std::string b = m_pRig->Pdf("b.pdf");
    std::string a = m_pRig->Pdf("a.pdf");
    m_pRig->prompts.SetClipboardFiles(Paths{b, a});
    QTest::keyClick(m_pRig->frame.View(), Qt::Key(key), modifiers);
    QCOMPARE(m_pRig->ListedSources(), (Paths{a, b}));
    QCOMPARE(m_pRig->frame.FileCountText(), QStringLiteral("Files 2"));
}

void TestMainFrame::F1_AsksForHelp()
{
    QVERIFY(m_pRig->ShowActive());
    QSignalSpy help(&m_pRig->frame, &CMainFrame::HelpRequested);
    QTest::keyClick(m_pRig->frame.View(), Qt::Key_F1);
    QCOMPARE(help.count(), 1);
}

void TestMainFrame::ShiftF1ThenAClick_AsksForHelpInsteadOfClicking()
{
    QVERIFY(m_pRig->ShowActive());
    m_pRig->frame.AddDroppedPaths({m_pRig->Pdf("a.pdf"), m_pRig->Pdf("b.pdf")});
    CZeltoView* view = m_pRig->frame.View();
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy help(&m_pRig->frame, &CMainFrame::HelpRequested);

    QTest::keyClick(view, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(help.count(), 0);
    QCOMPARE(m_pRig->frame.statusBar()->currentMessage(),
             QStringLiteral("Select an object on which to get Help"));

    QPoint secondRow = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, secondRow);
    QCOMPARE(help.count(), 1);
    // The click asked for help and did nothing else.
    QCOMPARE(view->GetSelectedConverters(),
             (std::vector<const CConverter*>{m_pRig->doc.ConverterAt(0)}));
    QVERIFY(m_pRig->frame.statusBar()->currentMessage().isEmpty());

    // The mode is over: the next click is a click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, secondRow);
    QCOMPARE(help.count(), 1);
    QCOMPARE(view->GetSelectedConverters(),
             (std::vector<const CConverter*>{m_pRig->doc.ConverterAt(1)}));
}

void TestMainFrame::ShiftF1ThenEscape_LeavesWithoutHelp()
{
    QVERIFY(m_pRig->ShowActive());
    QSignalSpy help(&m_pRig->frame, &CMainFrame::HelpRequested);
    QTest::keyClick(m_pRig->frame.View(), Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(QApplication::overrideCursor());
    QTest::keyClick(m_pRig->frame.View(), Qt::Key_Escape);
    QVERIFY(!QApplication::overrideCursor());
    QTest::mouseClick(m_pRig->frame.View()->viewport(), Qt::LeftButton);
    QCOMPARE(help.count(), 0);
    QVERIFY(m_pRig->frame.statusBar()->currentMessage().isEmpty());
}

void TestMainFrame::ShiftF1ThenExit_EndsTheModeWithTheWindow()
{
    QVERIFY(m_pRig->ShowActive());
    QTest::keyClick(m_pRig->frame.View(), Qt::Key_F1, Qt::ShiftModifier);
    m_pRig->frame.Action(ID_APP_EXIT)->trigger();
    QVERIFY(!m_pRig->frame.isVisible());
    m_pRig.reset();
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainFrame::InertKeys_DoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl;
    QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << ctrl;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl;
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << shift;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl;
    QTest::newRow("Alt+Backspace")
        << int(Qt::Key_Backspace) << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::newRow("F6") << int(Qt::Key_F6) << Qt::KeyboardModifiers();
    QTest::newRow("Shift+F6") << int(Qt::Key_F6) << shift;
}

// With rows selected and the list focused, none of these keys copies, cuts,
// removes, undoes or moves the focus.
void TestMainFrame::InertKeys_DoNothing()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QVERIFY(m_pRig->ShowActive());
    std::string a = m_pRig->Pdf("a.pdf");
    std::string b = m_pRig->Pdf("b.pdf");
    m_pRig->frame.AddDroppedPaths({a, b});
    CZeltoView* view = m_pRig->frame.View();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    view->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("left alone"));
    QSignalSpy help(&m_pRig->frame, &CMainFrame::HelpRequested);

    QTest::keyClick(view, Qt::Key(key), modifiers);

    QCOMPARE(m_pRig->ListedSources(), (Paths{a, b}));
    QCOMPARE(view->GetSelectedConverters().size(), std::size_t(2));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("left alone"));
    QVERIFY(std::filesystem::exists(CFrameRig::TextOf(a)));
    QCOMPARE(QApplication::focusWidget(), view);
    QCOMPARE(help.count(), 0);
    QVERIFY(m_pRig->prompts.Messages().empty());
    QVERIFY(m_pRig->opener.m_opened.empty());
    QVERIFY(m_pRig->frame.ToolBar()->isVisible() && m_pRig->frame.statusBar()->isVisible());
}

void TestMainFrame::ViewMenu_HidesAndShowsTheBarsWithCheckMarks()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    QAction* toolbar = frame.Action(ID_VIEW_TOOLBAR);
    QAction* statusBar = frame.Action(ID_VIEW_STATUS_BAR);
    toolbar->trigger();
    QVERIFY(!frame.ToolBar()->isVisible());
    QVERIFY(!toolbar->isChecked());
    QVERIFY(frame.statusBar()->isVisible());
    statusBar->trigger();
    QVERIFY(!frame.statusBar()->isVisible());
    QVERIFY(!statusBar->isChecked());

    toolbar->trigger();
    statusBar->trigger();
    QVERIFY(frame.ToolBar()->isVisible() && toolbar->isChecked());
    QVERIFY(frame.statusBar()->isVisible() && statusBar->isChecked());
}

// The window's own bar menu (a right-click on the bars) hides the toolbar
// too; the View item follows.
void TestMainFrame::ToolbarHiddenElsewhere_ClearsItsCheckMark()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    frame.ToolBar()->toggleViewAction()->trigger();
    QVERIFY(!frame.ToolBar()->isVisible());
    QVERIFY(!frame.Action(ID_VIEW_TOOLBAR)->isChecked());
    frame.ToolBar()->toggleViewAction()->trigger();
    QVERIFY(frame.Action(ID_VIEW_TOOLBAR)->isChecked());

    // Minimising the window hides nothing of its own accord.
    frame.showMinimized();
    QTest::qWait(20);
    frame.showNormal();
    QVERIFY(frame.Action(ID_VIEW_TOOLBAR)->isChecked());
    QVERIFY(frame.ToolBar()->isVisible());
}

// The prompt pane takes what the others leave; each of the others holds its
// longest text, whatever it shows now.
void TestMainFrame::StatusPanes_HoldTheirLongestTexts()
{
    QVERIFY(m_pRig->ShowActive());
    QLabel* count = m_pRig->Pane("FileCountPane");
    QVERIFY(m_pRig->Pane("IdlePane")->width() > count->width());
    const QFontMetrics metrics = count->fontMetrics();
    QVERIFY(count->width() >= metrics.horizontalAdvance(QStringLiteral("<*space holder*>")));
    const QStringList lockTexts{"CAP", "NUM", "SCRL"};
    const char* lockPanes[] = {"CapsPane", "NumPane", "ScrollPane"};
    for (int i = 0; i < 3; ++i)
    {
        QLabel* pane = m_pRig->Pane(lockPanes[i]);
        QVERIFY(pane->width() >= metrics.horizontalAdvance(lockTexts[i]));
        // Shown only while the lock is on, where the platform tells it.
        QVERIFY(pane->text().isEmpty() || pane->text() == lockTexts[i]);
        QCOMPARE(m_pRig->frame.LockPaneTexts().at(i), pane->text());
    }
}

void TestMainFrame::FileCountPane_FollowsTheList()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    QLabel* count = m_pRig->Pane("FileCountPane");
    const int width = count->width();
    QCOMPARE(frame.FileCountText(), QStringLiteral("Files 0"));

    frame.AddDroppedPaths({m_pRig->Pdf("a.pdf"), m_pRig->Pdf("b.pdf"), m_pRig->Pdf("c.pdf")});
    QCOMPARE(count->text(), QStringLiteral("Files 3"));
    QCOMPARE(count->width(), width);

    // Changes that do not come through the window's commands count too.
    m_pRig->doc.OnDropFiles({m_pRig->Pdf("d.pdf")});
    QCOMPARE(count->text(), QStringLiteral("Files 4"));

    CZeltoView* view = frame.View();
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->OnListRemove();
    QCOMPARE(count->text(), QStringLiteral("Files 3"));
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->OnListDelete();
    QCOMPARE(count->text(), QStringLiteral("Files 2"));
    frame.Action(ID_FILE_NEW)->trigger();
    QCOMPARE(count->text(), QStringLiteral("Files 0"));
    QCOMPARE(count->width(), width);
}

// Where the platform cannot be asked (Wayland, and the offscreen platform
// of these tests), the modifiers sent with key events tell the state.
void TestMainFrame::LockPanes_FollowTheModifiersOfKeyEvents()
{
    if (CLockKeyState::Query())
        QSKIP("this platform tells the lock state itself");
    QVERIFY(m_pRig->ShowActive());
    constexpr quint32 kLock = 1u << 1;
    constexpr quint32 kMod2 = 1u << 4;
    auto press = [this](quint32 nativeModifiers)
    {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, nativeModifiers,
                      QStringLiteral("a"));
        QApplication::sendEvent(m_pRig->frame.View(), &key);
    };
    press(kLock | kMod2);
    QCOMPARE(m_pRig->frame.LockPaneTexts(), (QStringList{"CAP", "NUM", ""}));
    press(kMod2);
    QCOMPARE(m_pRig->frame.LockPaneTexts(), (QStringList{"", "NUM", ""}));
    press(0);
    QCOMPARE(m_pRig->frame.LockPaneTexts(), (QStringList{"", "", ""}));
}

void TestMainFrame::Caption_StaysWhateverSetsIt()
{
    CMainFrame& frame = m_pRig->frame;
    const QString caption = QStringLiteral("Zelto Extractor - PDF to Text");
    QCOMPARE(frame.windowTitle(), caption);
    frame.setWindowTitle(QStringLiteral("Untitled - Zelto"));
    QCOMPARE(frame.windowTitle(), caption);
    QVERIFY(m_pRig->ShowActive());
    frame.setWindowTitle(QString());
    frame.setWindowFilePath(QStringLiteral("/tmp/list.zelto"));
    QCOMPARE(frame.windowTitle(), caption);
    QCOMPARE(frame.windowHandle()->title(), caption);
}

void TestMainFrame::Drop_AddsFilesAndFoldersInDropOrder()
{
    QVERIFY(m_pRig->ShowActive());
    std::string zeta = m_pRig->dir.Write("zeta.doc", "not a pdf");
    std::string b = m_pRig->Pdf("b.pdf");
    std::string inFolder = m_pRig->Pdf("folder/c.pdf");
    std::string alpha = m_pRig->dir.Write("alpha.doc", "not a pdf either");
    m_pRig->prompts.AnswerFolderNext(FolderAnswerYes);

    CDropResult result =
        Drop(m_pRig->frame, {Url(zeta), Url(b), Url(m_pRig->dir / "folder"), Url(alpha)});
    QVERIFY(result.bEnterAccepted && result.bDropAccepted);
    QTRY_COMPARE(m_pRig->doc.RowCount(), 2);
    QCOMPARE(m_pRig->ListedSources(), (Paths{b, inFolder}));
    QCOMPARE(m_pRig->prompts.FolderQuestions(),
             (Paths{"Add contents of the folder '" + (m_pRig->dir / "folder") + "'?"}));
    // The files nobody can convert are told about in the order they came.
    QCOMPARE(m_pRig->prompts.Messages().size(), std::size_t(2));
    QCOMPARE(m_pRig->prompts.Messages()[0].strText, "The file '" + zeta + "' will be ignored.\n");
    QCOMPARE(m_pRig->prompts.Messages()[1].strText, "The file '" + alpha + "' will be ignored.\n");
    QTRY_COMPARE(m_pRig->frame.FileCountText(), QStringLiteral("Files 2"));
}

void TestMainFrame::Drop_SkipsWhatIsNotALocalFile()
{
    QVERIFY(m_pRig->ShowActive());
    std::string b = m_pRig->Pdf("b.pdf");
    CDropResult remoteOnly =
        Drop(m_pRig->frame, {QUrl(QStringLiteral("https://example.com/remote.pdf"))});
    QVERIFY(!remoteOnly.bEnterAccepted);

    CDropResult mixed = Drop(m_pRig->frame, {QUrl(QStringLiteral("https://example.com/a.pdf")),
                                             Url(b), QUrl(QStringLiteral("sftp://host/c.pdf"))});
    QVERIFY(mixed.bDropAccepted);
    QTRY_COMPARE(m_pRig->doc.RowCount(), 1);
    QCOMPARE(m_pRig->ListedSources(), (Paths{b}));
    QVERIFY(m_pRig->prompts.Messages().empty());
}

void TestMainFrame::Drop_AsksAboutAFolderAgainAfterAnEarlierNoToAll()
{
    QVERIFY(m_pRig->ShowActive());
    m_pRig->Pdf("one/first.pdf");
    std::string second = m_pRig->Pdf("two/second.pdf");
    const std::string one = m_pRig->dir / "one";
    const std::string two = m_pRig->dir / "two";

    // No to All holds for the rest of its own drop: the second folder is
    // not asked about.
    m_pRig->prompts.AnswerFolderNext(FolderAnswerNoToAll);
    QVERIFY(Drop(m_pRig->frame, {Url(one), Url(two)}).bDropAccepted);
    QTRY_COMPARE(m_pRig->prompts.FolderQuestions().size(), std::size_t(1));
    QCoreApplication::processEvents();
    QCOMPARE(m_pRig->prompts.FolderQuestions().size(), std::size_t(1));
    QCOMPARE(m_pRig->doc.RowCount(), 0);

    // The next drop asks again.
    m_pRig->prompts.AnswerFolderNext(FolderAnswerYes);
    QVERIFY(Drop(m_pRig->frame, {Url(two)}).bDropAccepted);
    QTRY_COMPARE(m_pRig->doc.RowCount(), 1);
    QCOMPARE(m_pRig->prompts.FolderQuestions(),
             (Paths{"Add contents of the folder '" + one + "'?",
                    "Add contents of the folder '" + two + "'?"}));
    QCOMPARE(m_pRig->ListedSources(), (Paths{second}));
}

// The files stay where they are: a source that would delete them after a
// move is told that they were copied.
void TestMainFrame::Drop_IsACopyEvenWhenAMoveIsProposed()
{
    QVERIFY(m_pRig->ShowActive());
    std::string a = m_pRig->Pdf("a.pdf");
    CDropResult moved =
        Drop(m_pRig->frame, {Url(a)}, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier);
    QVERIFY(moved.bDropAccepted);
    QCOMPARE(moved.action, Qt::CopyAction);
    QTRY_COMPARE(m_pRig->doc.RowCount(), 1);

    std::string b = m_pRig->Pdf("b.pdf");
    CDropResult moveOnly = Drop(m_pRig->frame, {Url(b)}, Qt::MoveAction);
    QVERIFY(!moveOnly.bEnterAccepted);
    QTest::qWait(20);
    QCOMPARE(m_pRig->doc.RowCount(), 1);
    QVERIFY(std::filesystem::exists(b));
}

void TestMainFrame::Drop_WhileBusy_IsRefused()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    std::string a = m_pRig->Pdf("a.pdf");
    CDropResult whileBusy;
    bool bAddedWhileBusy = true;
    QVERIFY(frame.RunGuarded(
        [&]
        {
            QVERIFY(frame.IsBusy());
            whileBusy = Drop(frame, {Url(a)});
            bAddedWhileBusy = frame.AddDroppedPaths({a});
        }));
    QVERIFY(!whileBusy.bEnterAccepted && !whileBusy.bDropAccepted);
    QVERIFY(!bAddedWhileBusy);
    QCOMPARE(frame.statusBar()->currentMessage(), CQtText::Message(EMessageId::BusyRefusal));
    QTest::qWait(20);
    QCOMPARE(m_pRig->doc.RowCount(), 0);
    QVERIFY(!frame.IsBusy());

    // Once the command is over, drops are taken again.
    QVERIFY(Drop(frame, {Url(a)}).bDropAccepted);
    QTRY_COMPARE(m_pRig->doc.RowCount(), 1);
}

void TestMainFrame::Drop_ActivatesTheWindow()
{
    QVERIFY(m_pRig->ShowActive());
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!m_pRig->frame.isActiveWindow());
    QVERIFY(Drop(m_pRig->frame, {Url(m_pRig->Pdf("a.pdf"))}).bDropAccepted);
    QTRY_VERIFY(m_pRig->frame.isActiveWindow());
    QTRY_COMPARE(m_pRig->doc.RowCount(), 1);
}

void TestMainFrame::FileManager_IsStartedAndTheWindowStaysActive()
{
    QVERIFY(m_pRig->ShowActive());
    m_pRig->frame.Action(ID_TOOLS_EXPLORER)->trigger();
    QCOMPARE(m_pRig->opener.m_nFileManagerStarts, 1);
    QVERIFY(m_pRig->frame.isActiveWindow());
    // From the toolbar as well.
    QTest::mouseClick(
        m_pRig->frame.ToolBar()->widgetForAction(m_pRig->frame.Action(ID_TOOLS_EXPLORER)),
        Qt::LeftButton);
    QCOMPARE(m_pRig->opener.m_nFileManagerStarts, 2);
    QVERIFY(m_pRig->frame.isActiveWindow());
}

// The real opener starts xdg-open on the home folder and does not wait.
void TestMainFrame::FileManager_IsTheDesktopsOpenerOnTheHomeFolder()
{
    CTempDir bin;
    std::string script = bin.Write("xdg-open", "#!/bin/sh\n"
                                               "printf '%s\\n' \"$*\" > \"${0%/*}/calls.tmp\"\n"
                                               "mv \"${0%/*}/calls.tmp\" \"${0%/*}/calls.log\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    CScopedPath path(bin.Path() + ":" + CurrentPath());
    m_pRig->frame.SetOpener(nullptr);
    QVERIFY(m_pRig->ShowActive());
    m_pRig->frame.Action(ID_TOOLS_EXPLORER)->trigger();
    QVERIFY(m_pRig->frame.isActiveWindow());
    QTRY_VERIFY(std::filesystem::exists(bin / "calls.log"));
    QCOMPARE(QString::fromStdString(CTempDir::ReadFile(bin / "calls.log")).trimmed(),
             QDir::homePath());
}

void TestMainFrame::FileManager_ThatCannotStart_IsNotReported()
{
    CTempDir empty;
    CScopedPath path(empty.Path());
    m_pRig->frame.SetOpener(nullptr);
    QVERIFY(m_pRig->ShowActive());
    m_pRig->frame.Action(ID_TOOLS_EXPLORER)->trigger();
    QVERIFY(m_pRig->frame.isActiveWindow());
    QVERIFY(m_pRig->prompts.Messages().empty());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainFrame::Options_ShowsTheCountInUseAndStoresOnlyAnAcceptedOne()
{
    QVERIFY(m_pRig->ShowActive());
    // Opens Tools > Options..., enters `count` and closes the dialog; gives
    // the count it showed first, or -1 when it never came.
    auto enter = [this](int count, bool accept)
    {
        int shown = -1;
        CModalDriver driver;
        driver.Expect<COptionsDlg>(
            [&](COptionsDlg* dialog)
            {
                shown = dialog->ConversionsBox()->value();
                dialog->ConversionsBox()->setValue(count);
                QVERIFY(!dialog->ProblemsAtEnd());
                dialog->ReportButton()->click();
                accept ? dialog->accept() : dialog->reject();
            });
        m_pRig->frame.Action(ID_TOOLS_OPTIONS)->trigger();
        return shown;
    };
    QCOMPARE(enter(5, false), CAddOptions::DefaultConversionsAtOnce());
    QCOMPARE(m_pRig->settings.GetInt("", CAddOptions::kConversionsAtOnce), 0);
    QCOMPARE(m_pRig->settings.GetInt("", CAddOptions::kProblemsAtEnd), 0);

    m_pRig->settings.SetInt("", CAddOptions::kConversionsAtOnce, 3);
    QCOMPARE(enter(1, true), 3);
    QCOMPARE(m_pRig->settings.GetInt("", CAddOptions::kConversionsAtOnce), 1);
    QCOMPARE(m_pRig->doc.Options().ConversionsAtOnce(), 1);
    QCOMPARE(m_pRig->settings.GetInt("", CAddOptions::kProblemsAtEnd), 1);
}

void TestMainFrame::ReportWindow_ComesByItselfOnlyWithProblemsNotShown()
{
    CMainFrame& frame = m_pRig->frame;
    QVERIFY(m_pRig->ShowActive());
    Paths notPdfs{m_pRig->dir.Write("a.doc", "x"), m_pRig->dir.Write("b.doc", "x")};
    QVERIFY(frame.AddDroppedPaths(notPdfs));
    QCOMPARE(m_pRig->prompts.Messages().size(), 2u);
    QVERIFY(!frame.AddReportWindow());

    m_pRig->prompts.Clear();
    m_pRig->settings.SetInt("", CAddOptions::kProblemsAtEnd, 1);
    QVERIFY(frame.AddDroppedPaths(notPdfs));
    QVERIFY(m_pRig->prompts.Messages().empty());
    CAddReportDlg* window = frame.AddReportWindow();
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->ShownRows(false).size(), 2u);
    QVERIFY(window->windowTitle().contains("Report"));
    QCOMPARE(frame.statusBar()->currentMessage(),
             CQtText::FromText(m_pRig->doc.LastAddReport()->Summary()));

    // The main window stays usable while the report is up.
    window->close();
    frame.Action(ID_VIEW_ADD_REPORT)->trigger();
    QVERIFY(window->isVisible());
    QVERIFY(frame.AddDroppedPaths({m_pRig->Pdf("c.pdf")}));
    QCOMPARE(m_pRig->ListedSources().size(), 1u);
    // The open window follows to the last add.
    QVERIFY(window->ShownRows(false).empty());
}

void TestMainFrame::FirstStart_ShowsBothColumnsWhole()
{
    CMainFrame& frame = m_pRig->frame;
    frame.RestorePlacement();
    QVERIFY(m_pRig->ShowActive());
    QVERIFY(frame.View()->viewport()->width() >=
            CZeltoView::kFileColumnWidth + CZeltoView::kFolderColumnWidth);
}

void TestMainFrame::Close_StoresThePlacement()
{
    CMainFrame& frame = m_pRig->frame;
    QVERIFY(!StoredPlacement(m_pRig->settings));
    frame.resize(640, 480);
    QVERIFY(m_pRig->ShowActive());
    QVERIFY(frame.close());
    std::optional<CWindowPlacement::CValue> stored = StoredPlacement(m_pRig->settings);
    QVERIFY(stored);
    QCOMPARE(stored->m_nShowCmd, CWindowPlacement::kShowNormal);
    QCOMPARE(stored->m_nRight - stored->m_nLeft, 640);
    QCOMPARE(stored->m_nBottom - stored->m_nTop, 480);

    // In the settings file, directly in the program's key.
    QSettings file(m_pRig->settings.Location(), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("MainFrame")).toString().toStdString(),
             CWindowPlacement::Format(*stored));
}

void TestMainFrame::Close_WhileMaximised_RestoresMaximised()
{
    const QString settingsFile = m_pRig->settings.Location();
    CMainFrame& frame = m_pRig->frame;
    frame.resize(640, 480);
    QVERIFY(m_pRig->ShowActive());
    frame.showMaximized();
    QTRY_VERIFY(frame.isMaximized());
    QVERIFY(frame.close());
    std::optional<CWindowPlacement::CValue> stored = StoredPlacement(m_pRig->settings);
    QVERIFY(stored);
    QCOMPARE(stored->m_nShowCmd, CWindowPlacement::kShowMaximized);
    QCOMPARE(stored->m_nRight - stored->m_nLeft, 640);

    // The next run.
    CFrameRig next(settingsFile);
    next.frame.RestorePlacement();
    next.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&next.frame));
    QTRY_VERIFY(next.frame.isMaximized());
    next.frame.showNormal();
    QTRY_COMPARE(next.frame.size(), QSize(640, 480));
}

void TestMainFrame::Exit_ClosesAndStoresThePlacement()
{
    QVERIFY(m_pRig->ShowActive());
    m_pRig->frame.Action(ID_APP_EXIT)->trigger();
    QVERIFY(!m_pRig->frame.isVisible());
    QVERIFY(StoredPlacement(m_pRig->settings));
}

// The list must not go while a command works on it: the window closes when
// the command is over.
void TestMainFrame::Close_WhileBusy_WaitsForTheCommandToEnd()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    bool bClosed = true;
    bool bVisibleAfterClose = false;
    frame.RunGuarded(
        [&]
        {
            bClosed = frame.close();
            bVisibleAfterClose = frame.isVisible();
            QVERIFY(!StoredPlacement(m_pRig->settings));
        });
    QVERIFY(!bClosed);
    QVERIFY(bVisibleAfterClose);
    QTRY_VERIFY(!frame.isVisible());
    QVERIFY(StoredPlacement(m_pRig->settings));
}

void TestMainFrame::Close_WhileAdding_GivesUpTheRestAndCloses()
{
    QVERIFY(m_pRig->ShowActive());
    CMainFrame& frame = m_pRig->frame;
    Paths pdfs;
    for (int i = 0; i < 12; ++i)
        pdfs.push_back(m_pRig->Pdf("f" + std::to_string(10 + i) + ".pdf"));
    m_pRig->prompts.OnWait(
        [&frame](int wait, const CConversionMonitor&)
        {
            if (wait == 1)
                frame.close();
        });
    QVERIFY(frame.AddDroppedPaths(pdfs));
    QVERIFY(m_pRig->doc.RowCount() < 12);
    QVERIFY(!frame.IsBusy());
    QTRY_VERIFY(!frame.isVisible());
    QVERIFY(StoredPlacement(m_pRig->settings));
    QVERIFY(m_pRig->prompts.Messages().empty());
}

void TestMainFrame::UnexpectedFailureOfACommand_IsToldAndTheWindowGoesOn()
{
    CMainFrame& frame = m_pRig->frame;
    QVERIFY(frame.RunGuarded([] { throw std::bad_alloc(); }));
    QCOMPARE(m_pRig->prompts.FirstIds(), (std::vector<EMessageId>{EMessageId::SystemError}));
    QVERIFY(m_pRig->prompts.Messages().front().strText.find("(Error 12)") != std::string::npos);
    QVERIFY(!frame.IsBusy());
    // The next command runs.
    QVERIFY(frame.AddDroppedPaths({m_pRig->Pdf("a.pdf")}));
    QCOMPARE(m_pRig->doc.RowCount(), 1);
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
