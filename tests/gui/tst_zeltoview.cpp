// SPDX-License-Identifier: GPL-3.0-or-later
// The list of text files: its columns and rows, its selection, the keys it
// ignores, its context menu, and Open, Remove and Delete on real files made
// by the real pdftotext.

#include "DocRows.h"
#include "FakeTool.h"
#include "ListingTable.h"
#include "ModalDriver.h"
#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "UiListing.h"
#include "dialogs/QtText.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "platform/MemorySettings.h"
#include "platform/MessageTable.h"
#include "ui/DesktopOpener.h"
#include "ui/FileListModel.h"
#include "ui/QtPrompts.h"
#include "ui/ZeltoView.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace
{
using Paths = std::vector<std::string>;
using Converters = std::vector<const CConverter*>;

// Records what the list hands to the desktop. A file that is gone is left
// to the real opener, which tells it without starting anything.
class CRecordingOpener : public CDesktopOpener
{
public:
    int OpenFile(const std::string& path, FFailed onFailed) override
    {
        m_opened.push_back(path);
        return std::filesystem::exists(path) ? 0 : CDesktopOpener::OpenFile(path, onFailed);
    }
    bool StartFileManager() override { return true; }

    const Paths& Opened() const { return m_opened; }

private:
    Paths m_opened;
};

// A document and its view in a window of their own, on PDFs converted by
// the real pdftotext. The view asks either scripted prompts or the real Qt
// ones.
struct CViewRig
{
    explicit CViewRig(bool bRealPrompts = false)
        : prompts(bRealPrompts ? static_cast<CPrompts&>(qtPrompts) : scripted),
          table(std::make_shared<CConverterContext>()), doc(table, prompts, scripted, settings),
          view(doc, prompts)
    {
        view.SetOpener(&opener);
        view.resize(600, 400);
        view.show();
    }

    // Converts a PDF made at `name` (relative to the temporary folder) and
    // returns its text file's path.
    std::string Add(const std::string& name)
    {
        std::string pdf = dir.Write(name, CPdfMaker::Build({"Text of " + name}));
        doc.OnDropFiles({pdf});
        return pdf.substr(0, pdf.size() - 3) + "txt";
    }

    QString Cell(int row, int column) const
    {
        return view.model()->index(row, column).data().toString();
    }
    QPoint RowCentre(int row) const
    {
        return view.visualRect(view.model()->index(row, 0)).center();
    }
    // A point of the list below its last row.
    QPoint EmptyArea() const { return QPoint(20, view.viewport()->height() - 5); }
    void Select(std::initializer_list<int> rows)
    {
        view.clearSelection();
        for (int row : rows)
            view.selectionModel()->select(view.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    Paths ListedTexts() const { return CDocRows::Texts(doc); }

    CTempDir dir;
    CScriptedPrompts scripted;
    CQtPrompts qtPrompts;
    CPrompts& prompts;
    CMemorySettings settings;
    CListingTable table;
    CZeltoDoc doc;
    CRecordingOpener opener;
    CZeltoView view;
};

// Opens the view's context menu as the event of `reason` would and hands
// back the menu that popped up.
QMenu* ContextMenu(CZeltoView& view, QContextMenuEvent::Reason reason, QPoint where)
{
    QContextMenuEvent event(reason, where, view.viewport()->mapToGlobal(where));
    QApplication::sendEvent(view.viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The context menu as CUiListing writes it, with and without a selection.
const QStringList kMenu{"Open", "Remove", "Delete"};
const QStringList kGrayedMenu{"Open (disabled)", "Remove (disabled)", "Delete (disabled)"};

QAction* Item(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
    {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Chooses an item of the context menu as a click on it would.
void Choose(QMenu* menu, const QString& text)
{
    QAction* action = Item(*menu, text);
    QVERIFY(action);
    menu->close();
    action->trigger();
}

std::string OpenFailedText(const std::string& path, int error)
{
    return CMessageTable::Format(EMessageId::OpenFailed, {path, error});
}

// A stand-in for xdg-open on PATH that logs each path it is given, fails
// with status 4 for paths that contain "broken", and for paths that contain
// "slow" stays until it is released, as an opener does that runs the
// viewer itself.
class CFakeXdgOpen
{
public:
    CFakeXdgOpen()
        : m_script(m_bin.Write("xdg-open",
                               "#!/bin/sh\n"
                               "log=\"${0%/*}/calls.log\"\n"
                               "printf '%s\\n' \"$1\" >> \"$log\"\n"
                               "case \"$1\" in *broken*) exit 4;; esac\n"
                               "case \"$1\" in *slow*)\n"
                               "  while [ ! -e \"${0%/*}/release\" ]; do sleep 0.02; done\n"
                               "  echo released >> \"$log\";; esac\n"
                               "exit 0\n")),
          m_path(m_bin.Path() + ":" + std::getenv("PATH"))
    {
        std::filesystem::permissions(m_script, std::filesystem::perms::owner_all);
    }
    ~CFakeXdgOpen() { Release(); }

    // In the order they were written; the openers run side by side.
    QStringList Calls() const
    {
        return QString::fromStdString(CTempDir::ReadFile(m_bin / "calls.log"))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void Release() const { m_bin.Write("release", ""); }

private:
    CTempDir m_bin;
    std::string m_script;
    CScopedPath m_path;
};
} // namespace

class TestZeltoView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_pRig = std::make_unique<CViewRig>(); }
    void cleanup()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        if (m_pRig)
            QCOMPARE(m_pRig->scripted.UnexpectedChoices(), 0);
        m_pRig.reset();
    }

    void Columns_AreFileAndFolderAt150And300Pixels();
    void Rows_FollowTheDocumentsOrder();
    void ClickOnAHeading_DoesNotSort();
    void SameNameInTwoFolders_ShowsTheSameNameAndTwoFolders();
    void Selection_TakesSeveralRowsAndReportsThemInRowOrder();
    void EnterAndDeleteKeys_DoNothing_data();
    void EnterAndDeleteKeys_DoNothing();
    void ContextMenu_WithoutSelection_HasItsItemsGrayed();
    void ContextMenu_WithSelection_HasItsItemsEnabled();
    void KeyboardContextMenu_OpensAtTheCurrentRow();
    void KeyboardContextMenu_WithoutRows_OpensAtTheListsCorner();
    void DoubleClick_OpensEverySelectedRowInRowOrder();
    void DoubleClickOnEmptyArea_WithoutSelection_DoesNothing();
    void DoubleClickWithTheRightButton_DoesNothing();
    void Open_OfAFileGoneMeanwhile_ReportsError2AndGoesOn();
    void Open_Failure_IsShownInAPlainMessageBox();
    void Open_ThroughTheDesktop_WaitsForNoOpenerAndReportsAFailureWhenItComes();
    void Open_WithoutAnOpener_ReportsError31();
    void Remove_OfAMultiSelection_KeepsTheFilesAndLeavesNoSelection();
    void Delete_OfAMultiSelection_DeletesTheFilesAndLeavesNoSelection();
    void Delete_OfAnUndeletableFile_ReportsItAndKeepsItsRow();
    void Remove_OfThousandsOfScatteredRows_KeepsExactlyTheOthers();
    void RemoveAll_EmptiesTheViewAndKeepsItsTwoColumns();
    void Commands_RefusedByTheGate_LeaveTheListAlone();

private:
    std::unique_ptr<CViewRig> m_pRig;
};

void TestZeltoView::Columns_AreFileAndFolderAt150And300Pixels()
{
    CZeltoView& view = m_pRig->view;
    QCOMPARE(view.header()->count(), 2);
    QCOMPARE(view.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File"));
    QCOMPARE(view.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    QCOMPARE(view.columnWidth(0), 150);
    QCOMPARE(view.columnWidth(1), 300);
    QCOMPARE(view.header()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(view.editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestZeltoView::Rows_FollowTheDocumentsOrder()
{
    m_pRig->Add("cherry.pdf");
    m_pRig->Add("Apple.pdf");
    m_pRig->Add("banana.pdf");
    QCOMPARE(m_pRig->view.model()->rowCount(), 3);
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("Apple.txt"));
    QCOMPARE(m_pRig->Cell(1, 0), QStringLiteral("banana.txt"));
    QCOMPARE(m_pRig->Cell(2, 0), QStringLiteral("cherry.txt"));
    for (int row = 0; row < 3; ++row)
        QCOMPARE(m_pRig->Cell(row, 1), QString::fromStdString(std::string(
                                           m_pRig->doc.ConverterAt(row)->m_strTextFolder)));
    QVERIFY(m_pRig->scripted.Messages().empty());
}

void TestZeltoView::ClickOnAHeading_DoesNotSort()
{
    m_pRig->Add("b.pdf");
    m_pRig->Add("a.pdf");
    m_pRig->Add("c.pdf");
    CZeltoView& view = m_pRig->view;
    QHeaderView* header = view.header();
    for (int column : {0, 0, 1})
    {
        QPoint heading(header->sectionViewportPosition(column) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    }
    QVERIFY(!view.isSortingEnabled());
    QVERIFY(!header->isSortIndicatorShown());
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("a.txt"));
    QCOMPARE(m_pRig->Cell(2, 0), QStringLiteral("c.txt"));
    QCOMPARE(header->visualIndex(0), 0);
}

void TestZeltoView::SameNameInTwoFolders_ShowsTheSameNameAndTwoFolders()
{
    std::string second = m_pRig->Add("second/report.pdf");
    std::string first = m_pRig->Add("first/report.pdf");
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("report.txt"));
    QCOMPARE(m_pRig->Cell(1, 0), QStringLiteral("report.txt"));
    QVERIFY(m_pRig->Cell(0, 1).contains(QStringLiteral("first")));
    QVERIFY(m_pRig->Cell(1, 1).contains(QStringLiteral("second")));
    QCOMPARE(m_pRig->ListedTexts(), (Paths{first, second}));
}

void TestZeltoView::Selection_TakesSeveralRowsAndReportsThemInRowOrder()
{
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf"})
        m_pRig->Add(name);
    CZeltoView& view = m_pRig->view;
    QWidget* list = view.viewport();
    QTest::mouseClick(list, Qt::LeftButton, {}, m_pRig->RowCentre(3));
    QTest::mouseClick(list, Qt::LeftButton, Qt::ShiftModifier, m_pRig->RowCentre(1));
    QCOMPARE(view.GetSelectedConverters(),
             (Converters{m_pRig->doc.ConverterAt(1), m_pRig->doc.ConverterAt(2),
                         m_pRig->doc.ConverterAt(3)}));
    QTest::mouseClick(list, Qt::LeftButton, Qt::ControlModifier, m_pRig->RowCentre(2));
    QTest::mouseClick(list, Qt::LeftButton, Qt::ControlModifier, m_pRig->RowCentre(0));
    QCOMPARE(view.GetSelectedConverters(),
             (Converters{m_pRig->doc.ConverterAt(0), m_pRig->doc.ConverterAt(1),
                         m_pRig->doc.ConverterAt(3)}));
    // Whole rows are selected.
    QVERIFY(view.selectionModel()->isSelected(view.model()->index(3, 1)));
}

void TestZeltoView::EnterAndDeleteKeys_DoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Delete") << int(Qt::Key_Delete);
}

void TestZeltoView::EnterAndDeleteKeys_DoNothing()
{
    QFETCH(int, key);
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    m_pRig->view.setFocus();
    m_pRig->Select({0, 1});
    QTest::keyClick(&m_pRig->view, Qt::Key(key));
    QCOMPARE(m_pRig->ListedTexts(), (Paths{a, b}));
    QVERIFY(m_pRig->opener.Opened().empty());
    QVERIFY(std::filesystem::exists(a) && std::filesystem::exists(b));
    QCOMPARE(m_pRig->view.GetSelectedConverters().size(), std::size_t(2));
}

void TestZeltoView::ContextMenu_WithoutSelection_HasItsItemsGrayed()
{
    QMenu* menu = ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->EmptyArea());
    QVERIFY(menu);
    QCOMPARE(CUiListing::Menu(*menu), kGrayedMenu);
    // Where it was asked for.
    QCOMPARE(menu->pos(), m_pRig->view.viewport()->mapToGlobal(m_pRig->EmptyArea()));
    menu->close();

    // Rows without a selection are no different.
    m_pRig->Add("a.pdf");
    menu = ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->EmptyArea());
    QVERIFY(menu);
    QCOMPARE(CUiListing::Menu(*menu), kGrayedMenu);
}

void TestZeltoView::ContextMenu_WithSelection_HasItsItemsEnabled()
{
    m_pRig->Add("a.pdf");
    m_pRig->Add("b.pdf");
    m_pRig->Select({1});
    QMenu* menu = ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->RowCentre(1));
    QVERIFY(menu);
    QCOMPARE(CUiListing::Menu(*menu), kMenu);
}

void TestZeltoView::KeyboardContextMenu_OpensAtTheCurrentRow()
{
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf", "e.pdf"})
        m_pRig->Add(name);
    CZeltoView& view = m_pRig->view;
    view.setCurrentIndex(view.model()->index(3, 0));
    // A keyboard request carries no useful point.
    QMenu* menu = ContextMenu(view, QContextMenuEvent::Keyboard, QPoint(-1, -1));
    QVERIFY(menu);
    QRect row = view.visualRect(view.model()->index(3, 0));
    QRect rowOnScreen(view.viewport()->mapToGlobal(row.topLeft()), row.size());
    QVERIFY2(menu->pos().y() >= rowOnScreen.top() && menu->pos().y() <= rowOnScreen.bottom() + 1,
             qPrintable(QStringLiteral("menu at %1,%2, row from %3 to %4")
                            .arg(menu->pos().x())
                            .arg(menu->pos().y())
                            .arg(rowOnScreen.top())
                            .arg(rowOnScreen.bottom())));
    QVERIFY(rowOnScreen.left() <= menu->pos().x() && menu->pos().x() <= rowOnScreen.right());
    QCOMPARE(CUiListing::Menu(*menu), kMenu);
    menu->close();

    // A current row out of sight is brought into sight first.
    for (int i = 0; i < 60; ++i)
        m_pRig->Add("more/f" + std::to_string(100 + i) + ".pdf");
    view.scrollToTop();
    const QModelIndex last = view.model()->index(view.model()->rowCount() - 1, 0);
    view.setCurrentIndex(last);
    view.scrollToTop();
    menu = ContextMenu(view, QContextMenuEvent::Keyboard, QPoint(-1, -1));
    QVERIFY(menu);
    QRect lastRow = view.visualRect(last);
    QVERIFY(view.viewport()->rect().contains(lastRow));
    // The menu touches the row, below it or, near the screen's bottom, above.
    lastRow.moveTopLeft(view.viewport()->mapToGlobal(lastRow.topLeft()));
    QVERIFY(menu->geometry().top() <= lastRow.bottom() + 1 &&
            menu->geometry().bottom() >= lastRow.top() - 1);
}

void TestZeltoView::KeyboardContextMenu_WithoutRows_OpensAtTheListsCorner()
{
    CZeltoView& view = m_pRig->view;
    QMenu* menu = ContextMenu(view, QContextMenuEvent::Keyboard, QPoint(-1, -1));
    QVERIFY(menu);
    QCOMPARE(menu->pos(), view.viewport()->mapToGlobal(QPoint(0, 0)));
    QCOMPARE(CUiListing::Menu(*menu), kGrayedMenu);
}

// With Shift held, the clicks of a double-click extend the selection rather
// than replace it, so every selected row is opened.
void TestZeltoView::DoubleClick_OpensEverySelectedRowInRowOrder()
{
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::string c = m_pRig->Add("c.pdf");
    m_pRig->Add("d.pdf");
    QWidget* list = m_pRig->view.viewport();
    QTest::mouseClick(list, Qt::LeftButton, {}, m_pRig->RowCentre(0));
    QTest::mouseDClick(list, Qt::LeftButton, Qt::ShiftModifier, m_pRig->RowCentre(2));
    QCOMPARE(m_pRig->opener.Opened(), (Paths{a, b, c}));

    // A plain double-click selects and opens the row under the pointer.
    QTest::mouseDClick(list, Qt::LeftButton, {}, m_pRig->RowCentre(1));
    QCOMPARE(m_pRig->opener.Opened(), (Paths{a, b, c, b}));
    QVERIFY(m_pRig->scripted.Messages().empty());
}

void TestZeltoView::DoubleClickOnEmptyArea_WithoutSelection_DoesNothing()
{
    m_pRig->Add("a.pdf");
    QTest::mouseDClick(m_pRig->view.viewport(), Qt::LeftButton, {}, m_pRig->EmptyArea());
    QVERIFY(m_pRig->opener.Opened().empty());
    QVERIFY(m_pRig->scripted.Messages().empty());
    QVERIFY(m_pRig->view.GetSelectedConverters().empty());
}

void TestZeltoView::DoubleClickWithTheRightButton_DoesNothing()
{
    m_pRig->Add("a.pdf");
    m_pRig->Select({0});
    QTest::mouseDClick(m_pRig->view.viewport(), Qt::RightButton, {}, m_pRig->RowCentre(0));
    QVERIFY(m_pRig->opener.Opened().empty());
}

void TestZeltoView::Open_OfAFileGoneMeanwhile_ReportsError2AndGoesOn()
{
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::string c = m_pRig->Add("c.pdf");
    m_pRig->Select({0, 1, 2});
    std::filesystem::remove(b);
    Choose(ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->RowCentre(1)),
           QStringLiteral("Open"));
    QCOMPARE(m_pRig->opener.Opened(), (Paths{a, b, c}));
    QCOMPARE(m_pRig->scripted.Messages().size(), std::size_t(1));
    const CRecordedMessage& message = m_pRig->scripted.Messages().front();
    QCOMPARE(message.ids, (std::vector<EMessageId>{EMessageId::OpenFailed}));
    QCOMPARE(message.style, EMessageStyle::Plain);
    QCOMPARE(message.strText, OpenFailedText(b, 2));
    // Opening changes nothing of the list.
    QCOMPARE(m_pRig->ListedTexts(), (Paths{a, b, c}));
}

void TestZeltoView::Open_Failure_IsShownInAPlainMessageBox()
{
    m_pRig = std::make_unique<CViewRig>(true);
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::filesystem::remove(a);
    m_pRig->Select({0, 1});

    CModalDriver driver;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    bool bOnTop = true;
    driver.Expect<QMessageBox>(
        [&](QMessageBox* box)
        {
            text = box->text();
            icon = box->icon();
            bOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            box->button(QMessageBox::Ok)->click();
        });
    m_pRig->view.OnListOpen();
    QVERIFY(driver.Handled());
    QCOMPARE(text, CQtText::Message(EMessageId::OpenFailed, {a, 2}));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QVERIFY(!bOnTop);
    QCOMPARE(m_pRig->opener.Opened(), (Paths{a, b}));
}

// The real opener hands each file to xdg-open and waits for none of them:
// the command ends at once, without an event loop that would hold input
// back, and an opener's exit status is reported as the error number when
// it comes, while others still run.
void TestZeltoView::Open_ThroughTheDesktop_WaitsForNoOpenerAndReportsAFailureWhenItComes()
{
    CFakeXdgOpen xdgOpen;
    std::string good = m_pRig->Add("good.pdf");
    std::string broken = m_pRig->Add("broken.pdf");
    std::string slow = m_pRig->Add("slow.pdf");
    m_pRig->view.SetOpener(nullptr);
    m_pRig->Select({0, 1, 2});
    bool bLoopRan = false;
    QTimer::singleShot(0, [&bLoopRan] { bLoopRan = true; });
    m_pRig->view.OnListOpen();
    QVERIFY(!bLoopRan);
    QVERIFY(m_pRig->scripted.Messages().empty());

    QTRY_COMPARE(m_pRig->scripted.Messages().size(), std::size_t(1));
    QCOMPARE(m_pRig->scripted.Messages().front().strText, OpenFailedText(broken, 4));
    QStringList calls = xdgOpen.Calls();
    calls.sort();
    QCOMPARE(calls, (QStringList{QString::fromStdString(broken), QString::fromStdString(good),
                                 QString::fromStdString(slow)}));
    xdgOpen.Release();
    QTRY_VERIFY(xdgOpen.Calls().contains(QStringLiteral("released")));
    QTest::qWait(50);
    QCOMPARE(m_pRig->scripted.Messages().size(), std::size_t(1));
}

// Without xdg-open on the search path nothing can open files.
void TestZeltoView::Open_WithoutAnOpener_ReportsError31()
{
    std::string a = m_pRig->Add("a.pdf");
    m_pRig->view.SetOpener(nullptr);
    m_pRig->Select({0});
    {
        CTempDir empty;
        CScopedPath path(empty.Path());
        m_pRig->view.OnListOpen();
    }
    QTRY_COMPARE(m_pRig->scripted.Messages().size(), std::size_t(1));
    QCOMPARE(m_pRig->scripted.Messages().front().strText, OpenFailedText(a, 31));
}

void TestZeltoView::Remove_OfAMultiSelection_KeepsTheFilesAndLeavesNoSelection()
{
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::string c = m_pRig->Add("c.pdf");
    std::string d = m_pRig->Add("d.pdf");
    m_pRig->Select({0, 2, 3});
    Choose(ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->RowCentre(2)),
           QStringLiteral("Remove"));
    QCOMPARE(m_pRig->ListedTexts(), (Paths{b}));
    QCOMPARE(m_pRig->view.model()->rowCount(), 1);
    QVERIFY(m_pRig->view.GetSelectedConverters().empty());
    QVERIFY(!m_pRig->view.selectionModel()->hasSelection());
    for (const std::string& text : {a, c, d})
        QVERIFY(std::filesystem::exists(text));
    QVERIFY(m_pRig->scripted.Messages().empty());
}

void TestZeltoView::Delete_OfAMultiSelection_DeletesTheFilesAndLeavesNoSelection()
{
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::string c = m_pRig->Add("c.pdf");
    m_pRig->Select({0, 1});
    Choose(ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->RowCentre(0)),
           QStringLiteral("Delete"));
    QCOMPARE(m_pRig->ListedTexts(), (Paths{c}));
    QVERIFY(!std::filesystem::exists(a) && !std::filesystem::exists(b));
    QVERIFY(std::filesystem::exists(c));
    QVERIFY(!m_pRig->view.selectionModel()->hasSelection());
    QVERIFY(m_pRig->scripted.Messages().empty());
}

// A folder where the text file was cannot be deleted as a file: that row
// stays, and the rest go.
void TestZeltoView::Delete_OfAnUndeletableFile_ReportsItAndKeepsItsRow()
{
    std::string a = m_pRig->Add("a.pdf");
    std::string b = m_pRig->Add("b.pdf");
    std::string c = m_pRig->Add("c.pdf");
    std::filesystem::remove(b);
    std::filesystem::create_directory(b);
    m_pRig->Select({0, 1, 2});
    Choose(ContextMenu(m_pRig->view, QContextMenuEvent::Mouse, m_pRig->RowCentre(0)),
           QStringLiteral("Delete"));
    QCOMPARE(m_pRig->ListedTexts(), (Paths{b}));
    QVERIFY(std::filesystem::is_directory(b));
    QCOMPARE(m_pRig->scripted.FirstIds(), (std::vector<EMessageId>{EMessageId::DeleteFailed}));
    QCOMPARE(m_pRig->scripted.Messages().front().style, EMessageStyle::InUse);
    QVERIFY(m_pRig->scripted.Messages().front().strText.find("'" + b + "'") != std::string::npos);
    QVERIFY(!m_pRig->view.selectionModel()->hasSelection());
}

// Every third row of a long list, selected by ranges as Ctrl+Shift clicks
// would select them.
void TestZeltoView::Remove_OfThousandsOfScatteredRows_KeepsExactlyTheOthers()
{
    Paths listed;
    for (int i = 0; i < 6000; ++i)
        listed.push_back(m_pRig->dir.Write("listed/file" + std::to_string(10000 + i) + ".pdf", ""));
    m_pRig->table.ListWithoutConverting(true);
    m_pRig->doc.OnDropFiles(listed);
    CZeltoView& view = m_pRig->view;
    QItemSelection scattered;
    Converters kept;
    for (int row = 0; row < 6000; ++row)
    {
        QModelIndex index = view.model()->index(row, 0);
        if (row % 3 == 0)
            scattered.select(index, index.siblingAtColumn(1));
        else
            kept.push_back(m_pRig->doc.ConverterAt(row));
    }
    view.selectionModel()->select(scattered, QItemSelectionModel::ClearAndSelect);
    view.selectionModel()->setCurrentIndex(view.model()->index(3000, 0),
                                           QItemSelectionModel::NoUpdate);
    QCOMPARE(view.GetSelectedConverters().size(), std::size_t(2000));

    view.OnListRemove();
    QCOMPARE(view.model()->rowCount(), 4000);
    Converters rows;
    for (int row = 0; row < 4000; ++row)
        rows.push_back(m_pRig->view.Model().ConverterAt(row));
    QCOMPARE(rows, kept);
    QVERIFY(!view.selectionModel()->hasSelection());
}

void TestZeltoView::RemoveAll_EmptiesTheViewAndKeepsItsTwoColumns()
{
    m_pRig->Add("a.pdf");
    m_pRig->Add("b.pdf");
    m_pRig->Select({0});
    m_pRig->doc.OnNewDocument();
    CZeltoView& view = m_pRig->view;
    QCOMPARE(view.model()->rowCount(), 0);
    QCOMPARE(view.header()->count(), 2);
    QCOMPARE(view.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File"));
    QCOMPARE(view.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    QCOMPARE(view.columnWidth(0), 150);
    QCOMPARE(view.columnWidth(1), 300);
    QVERIFY(view.GetSelectedConverters().empty());

    // And it fills again as before.
    m_pRig->Add("c.pdf");
    QCOMPARE(m_pRig->Cell(0, 0), QStringLiteral("c.txt"));
}

void TestZeltoView::Commands_RefusedByTheGate_LeaveTheListAlone()
{
    std::string a = m_pRig->Add("a.pdf");
    int asked = 0;
    m_pRig->view.SetCommandGate(
        [&asked](const std::function<void()>&)
        {
            ++asked;
            return false;
        });
    m_pRig->Select({0});
    m_pRig->view.OnListOpen();
    m_pRig->view.OnListRemove();
    m_pRig->view.OnListDelete();
    QTest::mouseDClick(m_pRig->view.viewport(), Qt::LeftButton, {}, m_pRig->RowCentre(0));
    QCOMPARE(asked, 4);
    QCOMPARE(m_pRig->ListedTexts(), (Paths{a}));
    QVERIFY(std::filesystem::exists(a));
    QVERIFY(m_pRig->opener.Opened().empty());
}

QTEST_MAIN(TestZeltoView)
#include "tst_zeltoview.moc"
