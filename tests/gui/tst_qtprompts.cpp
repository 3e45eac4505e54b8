// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "TempDir.h"
#include "UiListing.h"
#include "dialogs/QtText.h"
#include "dialogs/RunProgressDlg.h"
#include "person/MessageBox.h"
#include "platform/CancelFlag.h"
#include "platform/MessageTable.h"
#include "ui/ClipboardFileList.h"
#include "ui/QtPrompts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>
#include <utility>

namespace
{
using Paths = std::vector<std::string>;

// What a message box looked like while it was up.
struct CSeenBox
{
    QString strTitle;
    QString strText;
    QString strDetails;
    Qt::TextFormat format = Qt::AutoText;
    QString strLook; // as CUiListing writes it
};

CSeenBox Look(QMessageBox* box)
{
    return {box->windowTitle(), box->text(), box->detailedText(), box->textFormat(),
            CUiListing::MessageBox(*box)};
}

// Shows the box, looks at it while it is up and closes it with its default
// button (OK for boxes without a choice). A box that never came looks
// empty.
CSeenBox ShowAndLook(const CMessageBox& box, EAnswer* answer = nullptr)
{
    CQtPrompts prompts;
    CSeenBox seen;
    CModalDriver driver;
    driver.Expect<QMessageBox>(
        [&](QMessageBox* shown)
        {
            seen = Look(shown);
            shown->defaultButton() ? shown->defaultButton()->click() : shown->accept();
        });
    EAnswer given = prompts.ShowMessage(box);
    if (answer)
        *answer = given;
    return seen;
}

QStringList ListedNames(QFileDialog* dialog)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view || !view->model())
        return names;
    QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    return names;
}

// One file being converted of three queued, until the test says the wait may
// end; a broken test ends it after a long guard instead of hanging.
struct CWaitedConversions : public CConversionMonitor
{
    explicit CWaitedConversions(CQtPrompts& prompts)
    {
        QTimer::singleShot(20000, &guard,
                           [this, &prompts]
                           {
                               bReady = true;
                               prompts.NotifyConversionsChanged();
                           });
    }
    bool IsReady() const override { return bReady; }
    CConversionProgress Progress() const override { return {1, 3, {"/data/in/report.pdf"}, {""}}; }

    std::atomic<bool> bReady{false};
    QObject guard;
};

bool AnyProgressDialogVisible()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
    {
        if (qobject_cast<CRunProgressDlg*>(window) && window->isVisible())
            return true;
    }
    return false;
}
} // namespace

class TestQtPrompts : public QObject
{
    Q_OBJECT

private slots:
    void MessageBox_HasTheStylesButtonsIconAndCaption();
    void PromptBox_ReturnsTheAnswerGiven_data();
    void PromptBox_ReturnsTheAnswerGiven();
    void MessageBox_ShowsMarkupInFileNamesAsText();
    void CheckBox_IsUntickedAndItsTickComesBackWithTheAnswer_data();
    void CheckBox_IsUntickedAndItsTickComesBackWithTheAnswer();
    void Details_AreOfferedOnlyWhenTheTextShowsLess_data();
    void Details_AreOfferedOnlyWhenTheTextShowsLess();

    void CancelOnProgress_EndsTheWaitWhileTheEventLoopKeepsRunning();
    void EscapeOnProgress_RequestsCancelInsteadOfClosing();
    void QuickWait_EndsWithoutAProgressDialog();

    void ClipboardFiles_ReadsTheRealClipboard();

    void FileDialog_ShowsPdfFilesInAnyLetterCase_data();
    void FileDialog_ShowsPdfFilesInAnyLetterCase();
    void FileDialog_Cancelled_GivesNothing();
    void FolderChooser_StartsAtTheFolderAndShowsTheStatusText();
    void FolderChooser_Cancelled_GivesNothing();

    void BoxOverABusyCursor_ShowsTheNormalOneAndGivesItBack();
};

// Each style's box as CUiListing writes it; its default button answers Yes
// to a question, else OK.
void TestQtPrompts::MessageBox_HasTheStylesButtonsIconAndCaption()
{
    const std::pair<EMessageStyle, QString> styles[] = {
        {EMessageStyle::InUse, "NoIcon | Ok | on top"},
        {EMessageStyle::Prompt, "NoIcon | Yes | No | on top"},
        {EMessageStyle::Error, "Critical | Ok"},
        {EMessageStyle::Warning, "Warning | Ok"},
        {EMessageStyle::Information, "Information | Ok"},
        {EMessageStyle::Plain, "NoIcon | Ok"},
    };
    for (const auto& [style, look] : styles)
    {
        EAnswer answer = EAnswer::No;
        CSeenBox seen =
            ShowAndLook(CMessageBox(style, EMessageId::FileIgnored, {"/data/a.doc"}), &answer);
        QCOMPARE(seen.strLook, look);
        QCOMPARE(seen.strTitle, QStringLiteral("Zelto"));
        QCOMPARE(seen.strText, QStringLiteral("The file '/data/a.doc' will be ignored.\n"));
        QCOMPARE(seen.strDetails, QString());
        QCOMPARE(answer, style == EMessageStyle::Prompt ? EAnswer::Yes : EAnswer::Ok);
    }
}

void TestQtPrompts::PromptBox_ReturnsTheAnswerGiven_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<EAnswer>("expected");
    QTest::newRow("Yes") << "Yes" << EAnswer::Yes;
    QTest::newRow("No") << "No" << EAnswer::No;
    QTest::newRow("Escape") << "Escape" << EAnswer::No;
    QTest::newRow("Return") << "Return" << EAnswer::Yes;
}

void TestQtPrompts::PromptBox_ReturnsTheAnswerGiven()
{
    QFETCH(QString, action);
    QFETCH(EAnswer, expected);

    CQtPrompts prompts;
    CModalDriver driver;
    driver.Expect<QMessageBox>(
        [action](QMessageBox* shown)
        {
            if (action == "Yes")
                shown->button(QMessageBox::Yes)->click();
            else if (action == "No")
                shown->button(QMessageBox::No)->click();
            else
                QTest::keyClick(shown, action == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        });
    EAnswer answer = prompts.ShowMessage(
        CMessageBox(EMessageStyle::Prompt, EMessageId::OverwriteQuestion, {"/data/a.txt"}));

    QVERIFY(driver.Handled());
    QCOMPARE(answer, expected);
}

void TestQtPrompts::CheckBox_IsUntickedAndItsTickComesBackWithTheAnswer_data()
{
    QTest::addColumn<bool>("prompt");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<EAnswer>("expected");
    QTest::newRow("message ticked") << false << true << EAnswer::Ok;
    QTest::newRow("message left") << false << false << EAnswer::Ok;
    QTest::newRow("question ticked, No") << true << true << EAnswer::No;
    QTest::newRow("question left, No") << true << false << EAnswer::No;
}

void TestQtPrompts::CheckBox_IsUntickedAndItsTickComesBackWithTheAnswer()
{
    QFETCH(bool, prompt);
    QFETCH(bool, tick);
    QFETCH(EAnswer, expected);

    CQtPrompts prompts;
    CModalDriver driver;
    QString label;
    bool ticked = true;
    driver.Expect<QMessageBox>(
        [&](QMessageBox* shown)
        {
            QCheckBox* check = shown->checkBox();
            if (!check)
                return shown->reject();
            label = check->text();
            ticked = check->isChecked();
            if (tick)
                QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(2, check->height() / 2));
            shown->button(prompt ? QMessageBox::No : QMessageBox::Ok)->click();
        });
    CMessageBox box =
        prompt ? CMessageBox(EMessageStyle::Prompt, EMessageId::OverwriteQuestion, {"/data/a.txt"})
               : CMessageBox(EMessageStyle::Information, EMessageId::NoTextExtracted, {"a.pdf"});
    EMessageId checkLabel = prompt ? EMessageId::SameForRestCheck : EMessageId::RestInReportCheck;
    CCheckedAnswer answer = prompts.ShowMessageWithCheckBox(box, checkLabel);

    QVERIFY(driver.Handled());
    QCOMPARE(label, CQtText::Message(checkLabel));
    QVERIFY(!ticked);
    QCOMPARE(answer.eAnswer, expected);
    QCOMPARE(answer.bChecked, tick);
}

void TestQtPrompts::MessageBox_ShowsMarkupInFileNamesAsText()
{
    CSeenBox seen = ShowAndLook(
        CMessageBox(EMessageStyle::Plain, EMessageId::FileIgnored, {"/data/<b>bold</b>.doc"}));

    QCOMPARE(seen.strTitle, QStringLiteral("Zelto"));
    QCOMPARE(seen.format, Qt::PlainText);
    QVERIFY(seen.strText.contains("<b>bold</b>"));
}

void TestQtPrompts::Details_AreOfferedOnlyWhenTheTextShowsLess_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cut report") << "Syntax Error: bad xref\n[12 more lines not shown]"
                                << "Syntax Error: bad xref\nline 2\nline 3"
                                << "Syntax Error: bad xref\nline 2\nline 3";
    QTest::newRow("whole report shown") << "Syntax Error: bad xref"
                                        << "Syntax Error: bad xref" << QString();
    QTest::newRow("no details") << "Syntax Error: bad xref" << QString() << QString();
}

void TestQtPrompts::Details_AreOfferedOnlyWhenTheTextShowsLess()
{
    QFETCH(QString, shown);
    QFETCH(QString, details);
    QFETCH(QString, expected);

    CSeenBox seen = ShowAndLook(CMessageBox(EMessageStyle::Error, EMessageId::ExtractionFailed,
                                            {"/data/a.pdf", shown.toStdString()})
                                    .Details(details.toStdString()));

    QCOMPARE(seen.strTitle, QStringLiteral("Zelto"));
    QCOMPARE(seen.strDetails, expected);
}

void TestQtPrompts::CancelOnProgress_EndsTheWaitWhileTheEventLoopKeepsRunning()
{
    CQtPrompts prompts;
    CWaitedConversions conversions(prompts);
    bool guiAnswered = false;
    QTimer::singleShot(0, &conversions.guard, [&] { guiAnswered = true; });
    QString fileLabel;
    QString doneLabel;
    CModalDriver driver;
    driver.Expect<CRunProgressDlg>(
        [&](CRunProgressDlg* shown)
        {
            fileLabel = shown->findChild<QLabel*>(QStringLiteral("fileLabel"))->text();
            doneLabel = shown->findChild<QLabel*>(QStringLiteral("doneLabel"))->text();
            auto* buttons = shown->findChild<QDialogButtonBox*>();
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        });

    CCancelFlag cancel;
    prompts.WaitForConversions(conversions, cancel);

    QVERIFY(driver.Handled());
    QVERIFY(guiAnswered);
    QVERIFY(cancel.IsRequested());
    QCOMPARE(fileLabel, QStringLiteral("Extracting text from 'report.pdf'"));
    QCOMPARE(doneLabel, QStringLiteral("Files done: 1 of 3"));
    prompts.EndConversions();
    QVERIFY(!AnyProgressDialogVisible());
}

void TestQtPrompts::EscapeOnProgress_RequestsCancelInsteadOfClosing()
{
    CQtPrompts prompts;
    CWaitedConversions conversions(prompts);
    bool stillShownAfterEscape = false;
    CModalDriver driver;
    driver.Expect<CRunProgressDlg>(
        [&](CRunProgressDlg* shown)
        {
            QTest::keyClick(shown, Qt::Key_Escape);
            stillShownAfterEscape = shown->isVisible() && shown->IsCancelRequested();
        });

    CCancelFlag cancel;
    prompts.WaitForConversions(conversions, cancel);

    QVERIFY(driver.Handled());
    QVERIFY(stillShownAfterEscape);
    QVERIFY(cancel.IsRequested());
    prompts.EndConversions();
    QVERIFY(!AnyProgressDialogVisible());
}

void TestQtPrompts::QuickWait_EndsWithoutAProgressDialog()
{
    CQtPrompts prompts;
    CWaitedConversions conversions(prompts);
    std::thread worker(
        [&]
        {
            conversions.bReady = true;
            prompts.NotifyConversionsChanged();
        });
    CCancelFlag cancel;
    prompts.WaitForConversions(conversions, cancel);
    worker.join();
    QVERIFY(!cancel.IsRequested());
    QVERIFY(!AnyProgressDialogVisible());
    prompts.EndConversions();
}

void TestQtPrompts::ClipboardFiles_ReadsTheRealClipboard()
{
    CQtPrompts prompts;
    auto* gnome = new QMimeData;
    gnome->setData(CClipboardFileList::kGnomeFormat, "cut\nfile:///data/1.pdf\nfile:///data/2.pdf");
    QApplication::clipboard()->setMimeData(gnome);
    QCOMPARE(prompts.ClipboardFiles(), std::optional<Paths>(Paths{"/data/1.pdf", "/data/2.pdf"}));

    auto* uris = new QMimeData;
    uris->setUrls({QUrl::fromLocalFile("/data/3.pdf"), QUrl::fromLocalFile("/data/x y.pdf")});
    QApplication::clipboard()->setMimeData(uris);
    QCOMPARE(prompts.ClipboardFiles(), std::optional<Paths>(Paths{"/data/3.pdf", "/data/x y.pdf"}));

    QApplication::clipboard()->setText(QStringLiteral("just words"));
    QCOMPARE(prompts.ClipboardFiles(), std::nullopt);
}

void TestQtPrompts::FileDialog_ShowsPdfFilesInAnyLetterCase_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("label");
    QTest::newRow("parentheses") << "All Valid (*.pdf)"
                                 << "All Valid (*.pdf)";
    QTest::newRow("bars") << "All Valid (*.pdf;)|*.pdf;||"
                          << "All Valid (*.pdf;)";
}

void TestQtPrompts::FileDialog_ShowsPdfFilesInAnyLetterCase()
{
    QFETCH(QString, filter);
    QFETCH(QString, label);
    CTempDir folder;
    folder.Write("a.pdf", "%PDF");
    folder.Write("B.PDF", "%PDF");
    folder.Write("c.txt", "text");

    CQtPrompts prompts;
    QStringList listed;
    bool loaded = false;
    QString shownFilter;
    QString startFolder;
    CModalDriver driver;
    driver.Expect<QFileDialog>(
        [&](QFileDialog* shown)
        {
            startFolder = shown->directory().absolutePath();
            shownFilter =
                shown->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
            loaded = QTest::qWaitFor(
                [&]
                {
                    listed = ListedNames(shown);
                    return listed.contains("a.pdf") && listed.contains("B.PDF");
                });
            shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("\"B.PDF\" \"a.pdf\""));
            static_cast<QDialog*>(shown)->accept();
        });
    Paths chosen = prompts.ChooseFiles(filter.toStdString(), folder.Path());

    QVERIFY(driver.Handled());
    QVERIFY(loaded);
    QCOMPARE(startFolder, QString::fromStdString(folder.Path()));
    QCOMPARE(shownFilter, label);
    listed.sort();
    QCOMPARE(listed, (QStringList{"B.PDF", "a.pdf"}));
    QCOMPARE(chosen, (Paths{folder / "B.PDF", folder / "a.pdf"}));
}

void TestQtPrompts::FileDialog_Cancelled_GivesNothing()
{
    CTempDir folder;
    folder.Write("a.pdf", "%PDF");
    CQtPrompts prompts;
    CModalDriver driver;
    driver.Expect<QFileDialog>([](QFileDialog* shown) { shown->reject(); });

    Paths chosen = prompts.ChooseFiles("All Valid (*.pdf)", folder.Path());

    QVERIFY(driver.Handled());
    QVERIFY(chosen.empty());
}

void TestQtPrompts::FolderChooser_StartsAtTheFolderAndShowsTheStatusText()
{
    CTempDir folder;
    std::string docs = folder.MakeFolder("docs");
    folder.MakeFolder("docs/old");
    CQtPrompts prompts;
    QString startFolder;
    QString status;
    bool foldersOnly = false;
    CModalDriver driver;
    driver.Expect<QFileDialog>(
        [&](QFileDialog* shown)
        {
            startFolder = shown->directory().absolutePath();
            status = shown->findChild<QLabel*>(QStringLiteral("statusText"))->text();
            foldersOnly = shown->fileMode() == QFileDialog::Directory &&
                          shown->testOption(QFileDialog::ShowDirsOnly);
            static_cast<QDialog*>(shown)->accept();
        });

    std::optional<std::string> chosen =
        prompts.ChooseFolder(docs, CMessageTable::Format(EMessageId::SelectFolderStatus));

    QVERIFY(driver.Handled());
    QCOMPARE(startFolder, QString::fromStdString(docs));
    QCOMPARE(status, QStringLiteral("Select folder from which to add files:"));
    QVERIFY(foldersOnly);
    QCOMPARE(chosen, std::optional<std::string>(docs));
}

void TestQtPrompts::FolderChooser_Cancelled_GivesNothing()
{
    CTempDir folder;
    CQtPrompts prompts;
    CModalDriver driver;
    driver.Expect<QFileDialog>([](QFileDialog* shown) { shown->reject(); });

    std::optional<std::string> chosen = prompts.ChooseFolder(folder.Path(), "status");

    QVERIFY(driver.Handled());
    QCOMPARE(chosen, std::nullopt);
}

void TestQtPrompts::BoxOverABusyCursor_ShowsTheNormalOneAndGivesItBack()
{
    CQtPrompts prompts;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CModalDriver driver;
    Qt::CursorShape shown = Qt::WaitCursor;
    driver.Expect<QMessageBox>(
        [&shown](QMessageBox* box)
        {
            shown = QApplication::overrideCursor()->shape();
            box->button(QMessageBox::No)->click();
        });
    prompts.ShowMessage(
        CMessageBox(EMessageStyle::Prompt, EMessageId::OverwriteQuestion, {"/data/a.txt"}));
    QVERIFY(driver.Handled());
    QCOMPARE(shown, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
