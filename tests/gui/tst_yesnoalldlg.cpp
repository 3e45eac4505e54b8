// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "dialogs/YesNoAllDlg.h"
#include "person/Prompts.h"
#include "ui/QtPrompts.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <algorithm>

namespace
{
QPushButton* Button(QDialog* dialog, const QString& text)
{
    const auto buttons = dialog->findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
    {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QString ShownQuestion(const QDialog& dialog)
{
    QString text = dialog.findChild<QLabel*>(QStringLiteral("question"))->text();
    return text.remove(QChar(0x200B));
}
} // namespace

class TestYesNoAllDlg : public QObject
{
    Q_OBJECT

private slots:
    void Dialog_ShowsCaptionQuestionAndFourButtonsLeftToRight();
    void Buttons_AreAllTabStops_InTemplateOrder();
    void EachWayOut_GivesItsAnswer_data();
    void EachWayOut_GivesItsAnswer();
    void LongPath_WrapsInsteadOfWideningTheDialog();
    void AskFolderQuestion_ShowsTheDialogAndReturnsItsAnswer_data();
    void AskFolderQuestion_ShowsTheDialogAndReturnsItsAnswer();
};

void TestYesNoAllDlg::Dialog_ShowsCaptionQuestionAndFourButtonsLeftToRight()
{
    CYesNoAllDlg dialog(QStringLiteral("Add contents of the folder '/data/docs'?"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Pravoline"));
    QCOMPARE(ShownQuestion(dialog), QStringLiteral("Add contents of the folder '/data/docs'?"));
    QCOMPARE(dialog.Question(), QStringLiteral("Add contents of the folder '/data/docs'?"));

    auto buttons = dialog.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 4);
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton* button : buttons)
        texts << button->text();
    QCOMPARE(texts, (QStringList{"Yes", "Yes to All", "No", "No to All"}));
    QVERIFY(buttons[0]->isDefault());
    for (int i = 1; i < 4; ++i)
        QCOMPARE(buttons[i]->y(), buttons[0]->y());
}

void TestYesNoAllDlg::Buttons_AreAllTabStops_InTemplateOrder()
{
    CYesNoAllDlg dialog(QStringLiteral("Add contents of the folder '/data'?"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QPushButton* yes = Button(&dialog, "Yes");
    QList<QWidget*> visited{yes};
    for (QWidget* next = yes->nextInFocusChain(); next != yes; next = next->nextInFocusChain())
    {
        if (next->focusPolicy() & Qt::TabFocus)
            visited << next;
    }
    QList<QWidget*> expected{yes, Button(&dialog, "No"), Button(&dialog, "Yes to All"),
                             Button(&dialog, "No to All")};
    QCOMPARE(visited, expected);
}

void TestYesNoAllDlg::EachWayOut_GivesItsAnswer_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("Yes clicked") << "Yes" << int(FolderAnswerYes);
    QTest::newRow("Yes to All clicked") << "Yes to All" << int(FolderAnswerYesToAll);
    QTest::newRow("No clicked") << "No" << int(FolderAnswerNo);
    QTest::newRow("No to All clicked") << "No to All" << int(FolderAnswerNoToAll);
    QTest::newRow("Return key") << "key:Return" << int(FolderAnswerYes);
    QTest::newRow("Enter key") << "key:Enter" << int(FolderAnswerYes);
    QTest::newRow("Escape key") << "key:Escape" << int(FolderAnswerNo);
    QTest::newRow("close box") << "close" << int(FolderAnswerNo);
}

void TestYesNoAllDlg::EachWayOut_GivesItsAnswer()
{
    QFETCH(QString, action);
    QFETCH(int, expected);

    CYesNoAllDlg dialog(QStringLiteral("Add contents of the folder '/data'?"));
    CModalDriver driver;
    driver.Expect<CYesNoAllDlg>(
        [action](CYesNoAllDlg* shown)
        {
            QWidget* focus = shown->focusWidget() ? shown->focusWidget() : shown;
            if (action == "key:Return")
                QTest::keyClick(focus, Qt::Key_Return);
            else if (action == "key:Enter")
                QTest::keyClick(focus, Qt::Key_Enter);
            else if (action == "key:Escape")
                QTest::keyClick(focus, Qt::Key_Escape);
            else if (action == "close")
                shown->close();
            else
                QTest::mouseClick(Button(shown, action), Qt::LeftButton);
        });
    int result = dialog.exec();

    QVERIFY(driver.Handled());
    QCOMPARE(result, expected);
}

void TestYesNoAllDlg::LongPath_WrapsInsteadOfWideningTheDialog()
{
    CYesNoAllDlg shortOne(QStringLiteral("Add contents of the folder '/a'?"));
    QString deep =
        QStringLiteral("/data") + QStringLiteral("/subfolder-with-a-long-name").repeated(20);
    CYesNoAllDlg longOne(QStringLiteral("Add contents of the folder '%1'?").arg(deep));
    shortOne.adjustSize();
    longOne.adjustSize();

    QCOMPARE(longOne.width(), shortOne.width());
    QVERIFY(longOne.height() > shortOne.height());
    QCOMPARE(longOne.Question(), QStringLiteral("Add contents of the folder '%1'?").arg(deep));
}

void TestYesNoAllDlg::AskFolderQuestion_ShowsTheDialogAndReturnsItsAnswer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("Yes to All") << "Yes to All" << int(FolderAnswerYesToAll);
    QTest::newRow("No to All") << "No to All" << int(FolderAnswerNoToAll);
}

void TestYesNoAllDlg::AskFolderQuestion_ShowsTheDialogAndReturnsItsAnswer()
{
    QFETCH(QString, button);
    QFETCH(int, expected);

    CQtPrompts prompts;
    QString asked;
    CModalDriver driver;
    driver.Expect<CYesNoAllDlg>(
        [&](CYesNoAllDlg* shown)
        {
            asked = shown->Question();
            QTest::mouseClick(Button(shown, button), Qt::LeftButton);
        });
    int answer = prompts.AskFolderQuestion("Add contents of the folder '/srv/pdf'?");

    QVERIFY(driver.Handled());
    QCOMPARE(asked, QStringLiteral("Add contents of the folder '/srv/pdf'?"));
    QCOMPARE(answer, expected);
}

QTEST_MAIN(TestYesNoAllDlg)
#include "tst_yesnoalldlg.moc"
