// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/AboutDlg.h"
#include "dialogs/HyperLink.h"
#include "platform/BuildVersion.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace
{
QString LabelText(const QWidget& dialog, const char* name)
{
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}
} // namespace

class CAboutDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void Dialog_ShowsCaptionNameVersionLinkAndContacts();
    void Dialog_ShowsTheApplicationIcon();
    void OkAndEsc_CloseTheBox();
    void Link_OpensItsText();
};

void CAboutDlgTest::Dialog_ShowsCaptionNameVersionLinkAndContacts()
{
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("About Pravoline"));
    QCOMPARE(LabelText(dialog, "title"), QString("Zelto Extractor.  PDF to Text"));
    QCOMPARE(dialog.VersionText(),
             QString::fromStdString(CBuildVersion::Text(CBuildVersion::Current())));
    QCOMPARE(LabelText(dialog, "version"), dialog.VersionText());
    QCOMPARE(dialog.Link().text(), QString(CAboutDlg::kWebAddress));
    for (const char* name : {"contact1", "contact2", "contact3"})
        QVERIFY2(!LabelText(dialog, name).isEmpty(), name);
    auto* title = dialog.findChild<QLabel*>("title");
    QCOMPARE(title->textFormat(), Qt::PlainText);
}

void CAboutDlgTest::Dialog_ShowsTheApplicationIcon()
{
    CAboutDlg dialog;
    auto* icon = dialog.findChild<QLabel*>("icon");
    QVERIFY(icon);
    QVERIFY(!icon->pixmap().isNull());
}

void CAboutDlgTest::OkAndEsc_CloseTheBox()
{
    CAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* ok = dialog.findChild<QPushButton*>("ok");
    QVERIFY(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void CAboutDlgTest::Link_OpensItsText()
{
    CAboutDlg dialog;
    QStringList opened;
    dialog.Link().SetOpener([&opened](const QString& text) { opened << text; });
    QTest::mouseClick(&dialog.Link(), Qt::LeftButton);
    QCOMPARE(opened, QStringList{CAboutDlg::kWebAddress});
}

QTEST_MAIN(CAboutDlgTest)
#include "tst_aboutdlg.moc"
