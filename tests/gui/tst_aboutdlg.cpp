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
    void VersionText_data();
    void VersionText();
    void CurrentVersion_ComesFromTheBuild();
    void Dialog_ShowsCaptionNameVersionLinkAndContacts();
    void Dialog_ShowsTheApplicationIcon();
    void OkAndEsc_CloseTheBox();
    void Link_OpensItsText();
};

void CAboutDlgTest::VersionText_data()
{
    QTest::addColumn<bool>("hasVersion");
    QTest::addColumn<QList<unsigned>>("parts");
    QTest::addColumn<bool>("debug");
    QTest::addColumn<QString>("text");
    QTest::newRow("release") << true << QList<unsigned>{1, 2, 3, 4} << false << "Version 1.2.3.4";
    QTest::newRow("debug") << true << QList<unsigned>{1, 0, 0, 0} << true
                           << "Version 1.0.0.0 - debug build";
    QTest::newRow("largest words") << true << QList<unsigned>{65535, 65535, 0, 65535} << false
                                   << "Version 65535.65535.0.65535";
    QTest::newRow("none") << false << QList<unsigned>{} << false << "No version information";
}

void CAboutDlgTest::VersionText()
{
    QFETCH(bool, hasVersion);
    QFETCH(QList<unsigned>, parts);
    QFETCH(bool, debug);
    QFETCH(QString, text);
    std::optional<CBuildVersion> version;
    if (hasVersion)
        version = CBuildVersion(parts[0], parts[1], parts[2], parts[3], debug);
    QCOMPARE(QString::fromStdString(CBuildVersion::Text(version)), text);
}

void CAboutDlgTest::CurrentVersion_ComesFromTheBuild()
{
    std::optional<CBuildVersion> version = CBuildVersion::Current();
#ifdef ZELTO_VERSION_MAJOR
    QVERIFY(version);
    QCOMPARE(version->Major(), unsigned(ZELTO_VERSION_MAJOR + 0));
    QCOMPARE(version->Minor(), unsigned(ZELTO_VERSION_MINOR + 0));
    QCOMPARE(version->Patch(), unsigned(ZELTO_VERSION_PATCH + 0));
    QCOMPARE(version->Tweak(), unsigned(ZELTO_VERSION_TWEAK + 0));
#ifdef ZELTO_DEBUG_BUILD
    QVERIFY(version->IsDebug());
    QVERIFY(CBuildVersion::Text(version).ends_with(" - debug build"));
#else
    QVERIFY(!version->IsDebug());
    QVERIFY(!CBuildVersion::Text(version).ends_with(" - debug build"));
#endif
#else
    QVERIFY(!version);
#endif
}

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
