#include "dialogs/OptionsDlg.h"
#include "platform/MessageTable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class COptionsDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void StartsAtTheGivenCountWithinItsBounds();
    void HelpNamesTheDefaultCount();
    void OkAcceptsTheChosenCount_CancelRejectsIt();
};

void COptionsDlgTest::StartsAtTheGivenCountWithinItsBounds()
{
    COptionsDlg dialog(3, 64, 8);
    QCOMPARE(dialog.ConversionsBox()->value(), 3);
    QCOMPARE(dialog.ConversionsBox()->minimum(), 1);
    QCOMPARE(dialog.ConversionsBox()->maximum(), 64);
    QCOMPARE(dialog.ConversionsAtOnce(), 3);
}

void COptionsDlgTest::HelpNamesTheDefaultCount()
{
    COptionsDlg dialog(3, 64, 8);
    QString help =
        QString::fromStdString(CMessageTable::Format(EMessageId::ConversionsAtOnceHelp, {8}));
    bool shown = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        shown = shown || label->text() == help;
    QVERIFY(shown);
}

void COptionsDlgTest::OkAcceptsTheChosenCount_CancelRejectsIt()
{
    {
        COptionsDlg dialog(3, 64, 8);
        dialog.ConversionsBox()->setValue(5);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        COptionsDlg dialog(3, 64, 8);
        dialog.ConversionsBox()->setValue(1);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ConversionsAtOnce(), 1);
    }
}

QTEST_MAIN(COptionsDlgTest)
#include "tst_optionsdlg.moc"
