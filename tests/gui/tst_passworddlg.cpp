// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "dialogs/PasswordDlg.h"
#include "ui/QtPrompts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{
template <class T> T* Child(QDialog* dialog, const char* name)
{
    return dialog->findChild<T*>(QString::fromLatin1(name));
}
} // namespace

Q_DECLARE_METATYPE(EPasswordAnswer)

class TestPasswordDlg : public QObject
{
    Q_OBJECT

private slots:
    void Dialog_MasksThePasswordAndOffersOkOnceOneIsTyped();
    void EachWayOut_GivesItsAnswer_data();
    void EachWayOut_GivesItsAnswer();
};

// Masked, and OK only once a password is typed: the empty one was tried
// before the question.
void TestPasswordDlg::Dialog_MasksThePasswordAndOffersOkOnceOneIsTyped()
{
    CPasswordDlg dialog({"a.pdf", "/a.pdf", true});
    auto* ok = Child<QPushButton>(&dialog, "okButton");
    auto* password = Child<QLineEdit>(&dialog, "password");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(password, QStringLiteral("x"));
    QVERIFY(ok->isEnabled() && ok->isDefault());
}

void TestPasswordDlg::EachWayOut_GivesItsAnswer_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<EPasswordAnswer>("answer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("tryOnOthers");
    QTest::newRow("OK") << "okButton" << false << EPasswordAnswer::Ok << "s\u00e9cret 1" << false;
    QTest::newRow("Return, ticked")
        << "key:Return" << true << EPasswordAnswer::Ok << "s\u00e9cret 1" << true;
    QTest::newRow("Skip") << "skipButton" << true << EPasswordAnswer::Skip << "" << false;
    QTest::newRow("Skip All") << "skipAllButton" << false << EPasswordAnswer::SkipAll << ""
                              << false;
    QTest::newRow("Escape") << "key:Escape" << false << EPasswordAnswer::Skip << "" << false;
    QTest::newRow("close box") << "close" << false << EPasswordAnswer::Skip << "" << false;
}

// Through the window's prompts, as an add asks.
void TestPasswordDlg::EachWayOut_GivesItsAnswer()
{
    QFETCH(QString, action);
    QFETCH(bool, tick);
    QFETCH(EPasswordAnswer, answer);
    QFETCH(QString, password);
    QFETCH(bool, tryOnOthers);

    CQtPrompts prompts;
    CModalDriver driver;
    driver.Expect<CPasswordDlg>(
        [&](CPasswordDlg* shown)
        {
            // Typed as an input method would: the keys of a test are ASCII.
            Child<QLineEdit>(shown, "password")->insert(QStringLiteral("s\u00e9cret 1"));
            Child<QCheckBox>(shown, "tryOnOthers")->setChecked(tick);
            if (action == "key:Return")
                QTest::keyClick(Child<QLineEdit>(shown, "password"), Qt::Key_Return);
            else if (action == "key:Escape")
                QTest::keyClick(Child<QLineEdit>(shown, "password"), Qt::Key_Escape);
            else if (action == "close")
                shown->close();
            else
                QTest::mouseClick(Child<QPushButton>(shown, action.toLatin1().constData()),
                                  Qt::LeftButton);
        });
    CPasswordAnswer given = prompts.AskPassword({"a.pdf", "/a.pdf", false});

    QVERIFY(driver.Handled());
    QCOMPARE(given.eAnswer, answer);
    QCOMPARE(QString::fromStdString(given.strPassword), password);
    QCOMPARE(given.bTryOnOthers, tryOnOthers);
}

QTEST_MAIN(TestPasswordDlg)
#include "tst_passworddlg.moc"
