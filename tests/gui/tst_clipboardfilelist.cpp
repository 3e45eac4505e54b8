// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ClipboardFileList.h"

#include <QMimeData>
#include <QtTest>

using Paths = std::vector<std::string>;

class TestClipboardFileList : public QObject
{
    Q_OBJECT

private slots:
    void UriList_GivesLocalFilesInOrder();
    void GnomeCopiedFiles_GivesFilesAfterTheVerb_data();
    void GnomeCopiedFiles_GivesFilesAfterTheVerb();
    void LocalPath_KeepsBytesThatAreNotUtf8();
    void Clipboard_WithoutAFileList_GivesNothing();
    void Clipboard_PrefersTheUriList();
};

void TestClipboardFileList::UriList_GivesLocalFilesInOrder()
{
    QByteArray list = "# copied by a file manager\r\n"
                      "file:///data/b%20report.pdf\r\n"
                      "https://example.org/remote.pdf\r\n"
                      "file://localhost/data/a.pdf\r\n"
                      "file://otherhost/share/c.pdf\r\n"
                      "file:///data/folder\r\n";

    QCOMPARE(CClipboardFileList::ParseUriList(list),
             (Paths{"/data/b report.pdf", "/data/a.pdf", "/data/folder"}));
}

void TestClipboardFileList::GnomeCopiedFiles_GivesFilesAfterTheVerb_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("copy") << QByteArray("copy\nfile:///data/z.pdf\nfile:///data/a%C3%A9.pdf");
    QTest::newRow("cut") << QByteArray("cut\nfile:///data/z.pdf\nfile:///data/a%C3%A9.pdf\n");
    // The zero byte is part of the data, so the length is given.
    static const char closed[] = "copy\nfile:///data/z.pdf\nfile:///data/a%C3%A9.pdf\0";
    QTest::newRow("closed by a zero byte") << QByteArray(closed, sizeof closed - 1);
}

void TestClipboardFileList::GnomeCopiedFiles_GivesFilesAfterTheVerb()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(CClipboardFileList::ParseGnomeCopiedFiles(bytes),
             (Paths{"/data/z.pdf", "/data/a\xC3\xA9.pdf"}));
}

void TestClipboardFileList::LocalPath_KeepsBytesThatAreNotUtf8()
{
    QCOMPARE(CClipboardFileList::LocalPath("file:///data/caf%E9.pdf"),
             std::optional<std::string>("/data/caf\xE9.pdf"));
    QCOMPARE(CClipboardFileList::LocalPath("file:///data/a%00b.pdf"), std::nullopt);
    QCOMPARE(CClipboardFileList::LocalPath("mailto:someone@example.org"), std::nullopt);
}

void TestClipboardFileList::Clipboard_WithoutAFileList_GivesNothing()
{
    QMimeData text;
    text.setText(QStringLiteral("/data/a.pdf"));
    QCOMPARE(CClipboardFileList::Read(&text), std::nullopt);
    QCOMPARE(CClipboardFileList::Read(nullptr), std::nullopt);
}

void TestClipboardFileList::Clipboard_PrefersTheUriList()
{
    QMimeData both;
    both.setData(CClipboardFileList::kGnomeFormat, "copy\nfile:///data/old.pdf");
    both.setData(CClipboardFileList::kUriListFormat, "file:///data/new.pdf\r\n");
    QCOMPARE(CClipboardFileList::Read(&both), std::optional<Paths>(Paths{"/data/new.pdf"}));
}

QTEST_MAIN(TestClipboardFileList)
#include "tst_clipboardfilelist.moc"
