// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "dialogs/QtText.h"
#include "dialogs/TipDlg.h"
#include "platform/MemorySettings.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace
{
template <class T> T* Child(const QWidget& dialog, const char* name)
{
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

bool HasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
    {
        for (int x = area.left(); x <= area.right(); ++x)
        {
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return true;
        }
    }
    return false;
}
} // namespace

class CTipDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void FirstRun_ShowsFirstTipWithBoxSetAndNextEnabled();
    void NextTip_ShowsFollowingTipsAndWraps();
    void CloseWithBoxCleared_StoresStartUp1();
    void CloseWithBoxSet_StoresStartUp0();
    void EscAfterClearingBox_LeavesStartUpUnchanged();
    void CaptionCloseBox_LeavesStartUpUnchanged();
    void Destruction_StoresPositionAfterLastTipShown();
    void MissingFile_SaysTheTipsFileIsMissingWithNextDisabledAndCloseStillStores();
    void UnreachablePosition_ReportsTroubleReadingThenEmptyTipWithNextEnabled();
    void StartUpSettingOff_BoxStartsCleared();
    void RunAtStartupWithTipsOff_ShowsNothingButMovesOnOneTip();
    void RunAtStartupWithTipsOn_ShowsTheDialog();
    void RunOnDemand_ShowsDialogEvenWithTipsOff();
    void Painting_WhiteAreaWithBulbAndHeading();
    void Buttons_HaveTheirTextsAndCloseIsDefault();

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::string m_strPath;
    CMemorySettings m_settings;
    CScriptedPrompts m_prompts;
};

void CTipDlgTest::init()
{
    m_pDir = std::make_unique<CTempDir>();
    m_strPath = m_pDir->Write("tips.txt", "; tips\nFirst tip\nSecond tip\nThird tip\n");
    m_settings = CMemorySettings();
    m_prompts = CScriptedPrompts();
}

void CTipDlgTest::FirstRun_ShowsFirstTipWithBoxSetAndNextEnabled()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    QCOMPARE(dialog.windowTitle(), QString("Tip of the Day"));
    QVERIFY(dialog.ShowAtStartup());
    QCOMPARE(dialog.TipText(), QString("First tip\n"));
    QCOMPARE(Child<QLabel>(dialog, "tipText")->text(), QString("First tip\n"));
    QVERIFY(Child<QCheckBox>(dialog, "showAtStartup")->isChecked());
    QVERIFY(Child<QPushButton>(dialog, "nextTip")->isEnabled());
    QVERIFY(!m_settings.GetString("Tip", "TimeStamp").empty());
}

void CTipDlgTest::NextTip_ShowsFollowingTipsAndWraps()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    auto* next = Child<QPushButton>(dialog, "nextTip");
    auto* label = Child<QLabel>(dialog, "tipText");
    QStringList shown{label->text()};
    for (int i = 0; i < 3; ++i)
    {
        QTest::mouseClick(next, Qt::LeftButton);
        shown << label->text();
    }
    QCOMPARE(shown, QStringList({"First tip\n", "Second tip\n", "Third tip\n", "First tip\n"}));
    QCOMPARE(dialog.TipText(), QString("First tip\n"));
}

void CTipDlgTest::CloseWithBoxCleared_StoresStartUp1()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    dialog.show();
    Child<QCheckBox>(dialog, "showAtStartup")->setChecked(false);
    QTest::mouseClick(Child<QPushButton>(dialog, "close"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.ShowAtStartup());
    QVERIFY(m_settings.Has("Tip", "StartUp"));
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 1);
}

void CTipDlgTest::CloseWithBoxSet_StoresStartUp0()
{
    m_settings.SetInt("Tip", "StartUp", 1);
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    dialog.show();
    Child<QCheckBox>(dialog, "showAtStartup")->setChecked(true);
    QTest::mouseClick(Child<QPushButton>(dialog, "close"), Qt::LeftButton);
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 0);
}

void CTipDlgTest::EscAfterClearingBox_LeavesStartUpUnchanged()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Child<QCheckBox>(dialog, "showAtStartup")->setChecked(false);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!m_settings.Has("Tip", "StartUp"));
    QVERIFY(dialog.ShowAtStartup());
}

void CTipDlgTest::CaptionCloseBox_LeavesStartUpUnchanged()
{
    m_settings.SetInt("Tip", "StartUp", 1);
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    dialog.show();
    Child<QCheckBox>(dialog, "showAtStartup")->setChecked(true);
    dialog.close();
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 1);
}

void CTipDlgTest::Destruction_StoresPositionAfterLastTipShown()
{
    {
        CTipDlg dialog(m_strPath, m_settings, m_prompts);
        QTest::mouseClick(Child<QPushButton>(dialog, "nextTip"), Qt::LeftButton);
        QVERIFY(!m_settings.Has("Tip", "FilePos"));
    }
    QCOMPARE(m_settings.GetInt("Tip", "FilePos"),
             int(std::string("; tips\nFirst tip\nSecond tip\n").size()));
    CTipDlg again(m_strPath, m_settings, m_prompts);
    QCOMPARE(again.TipText(), QString("Third tip\n"));
}

void CTipDlgTest::MissingFile_SaysTheTipsFileIsMissingWithNextDisabledAndCloseStillStores()
{
    {
        CTipDlg dialog(*m_pDir / "nowhere/tips.txt", m_settings, m_prompts);
        QCOMPARE(Child<QLabel>(dialog, "tipText")->text(),
                 CQtText::Message(EMessageId::TipsFileMissing));
        QVERIFY(!Child<QPushButton>(dialog, "nextTip")->isEnabled());
        dialog.show();
        Child<QCheckBox>(dialog, "showAtStartup")->setChecked(false);
        QTest::mouseClick(Child<QPushButton>(dialog, "close"), Qt::LeftButton);
    }
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 1);
    QVERIFY(!m_settings.Has("Tip", "FilePos"));
    QVERIFY(!m_settings.Has("Tip", "TimeStamp"));
    QVERIFY(m_prompts.Messages().empty());
}

void CTipDlgTest::UnreachablePosition_ReportsTroubleReadingThenEmptyTipWithNextEnabled()
{
    {
        CTipDlg first(m_strPath, m_settings, m_prompts);
    }
    m_settings.SetInt("Tip", "FilePos", -1);
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    QCOMPARE(m_prompts.FirstIds(), std::vector<EMessageId>{EMessageId::TipsFileUnreadable});
    QCOMPARE(Child<QLabel>(dialog, "tipText")->text(), QString());
    auto* next = Child<QPushButton>(dialog, "nextTip");
    QVERIFY(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(dialog.TipText(), QString("First tip\n"));
}

void CTipDlgTest::StartUpSettingOff_BoxStartsCleared()
{
    m_settings.SetInt("Tip", "StartUp", 1);
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    QVERIFY(!dialog.ShowAtStartup());
    QVERIFY(!Child<QCheckBox>(dialog, "showAtStartup")->isChecked());
}

void CTipDlgTest::RunAtStartupWithTipsOff_ShowsNothingButMovesOnOneTip()
{
    m_settings.SetInt("Tip", "StartUp", 1);
    // With the tips off nothing may come up; if something did, this answers
    // it, and the check below fails.
    CModalDriver driver;
    driver.Expect<CTipDlg>([](CTipDlg* dialog) { dialog->reject(); });
    CTipDlg::RunAtStartup(m_strPath, m_settings, m_prompts);
    QVERIFY(!driver.Handled());
    QCOMPARE(m_settings.GetInt("Tip", "FilePos"), int(std::string("; tips\nFirst tip\n").size()));
    CTipDlg next(m_strPath, m_settings, m_prompts);
    QCOMPARE(next.TipText(), QString("Second tip\n"));
}

void CTipDlgTest::RunAtStartupWithTipsOn_ShowsTheDialog()
{
    QString shownTip;
    CModalDriver driver;
    driver.Expect<CTipDlg>(
        [&shownTip](CTipDlg* dialog)
        {
            shownTip = dialog->TipText();
            dialog->findChild<QCheckBox*>("showAtStartup")->setChecked(false);
            QTest::mouseClick(dialog->findChild<QPushButton*>("close"), Qt::LeftButton);
        });
    CTipDlg::RunAtStartup(m_strPath, m_settings, m_prompts);
    QVERIFY(driver.Handled());
    QCOMPARE(shownTip, QString("First tip\n"));
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 1);
}

void CTipDlgTest::RunOnDemand_ShowsDialogEvenWithTipsOff()
{
    m_settings.SetInt("Tip", "StartUp", 1);
    bool boxWasSet = true;
    CModalDriver driver;
    driver.Expect<CTipDlg>(
        [&boxWasSet](CTipDlg* dialog)
        {
            boxWasSet = dialog->findChild<QCheckBox*>("showAtStartup")->isChecked();
            dialog->reject();
        });
    CTipDlg::RunOnDemand(m_strPath, m_settings, m_prompts);
    QVERIFY(driver.Handled());
    QVERIFY(!boxWasSet);
    QCOMPARE(m_settings.GetInt("Tip", "StartUp"), 1);
}

void CTipDlgTest::Painting_WhiteAreaWithBulbAndHeading()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QImage image = dialog.grab().toImage();
    image.setDevicePixelRatio(1);
    auto* area = Child<QWidget>(dialog, "pictureArea");
    QRect rect(area->mapTo(&dialog, QPoint(0, 0)), area->size());

    QRect bulb(rect.topLeft(), QSize(40, 53));
    QVERIFY(HasInk(image, bulb));
    QRect heading(rect.left() + 40, rect.top(), rect.width() - 40, 53);
    QVERIFY(HasInk(image, heading));
    // Between the band and the tip, and at the far right of the band, the
    // area is plain white.
    QVERIFY(!HasInk(image, QRect(rect.left(), rect.top() + 54, rect.width(), 3)));
    QVERIFY(!HasInk(image, QRect(rect.right() - 3, rect.top(), 3, 53)));
    QVERIFY(HasInk(image, Child<QLabel>(dialog, "tipText")->geometry().translated(rect.topLeft())));
}

void CTipDlgTest::Buttons_HaveTheirTextsAndCloseIsDefault()
{
    CTipDlg dialog(m_strPath, m_settings, m_prompts);
    QCOMPARE(Child<QCheckBox>(dialog, "showAtStartup")->text(), QString("&Show Tips on StartUp"));
    QCOMPARE(Child<QPushButton>(dialog, "nextTip")->text(), QString("&Next Tip"));
    auto* close = Child<QPushButton>(dialog, "close");
    QCOMPARE(close->text(), QString("&Close"));
    QVERIFY(close->isDefault());
}

QTEST_MAIN(CTipDlgTest)
#include "tst_tipdlg.moc"
