// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageTable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QtTest>

// The help pages the program ships: every page reachable from the contents,
// every link inside the help leading somewhere, every message explained.
class CHelpPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void EveryPage_HasATitleAndLinksBackToContents();
    void EveryLocalLink_LeadsToAPageAndAnchorThatExist();
    void EveryPage_IsReachableFromContents();
    void MessagesPage_ExplainsEveryMessageAUserCanMeet();
    void SettingsPage_NamesEveryStoredValueAndWhereTheyLie();
    void KeysPage_NamesEveryShortcut();
    void Contents_LoadsInTheHelpBrowser();

private:
    QString Read(const QString& page) const;
    QStringList Links(const QString& page) const;

    QDir m_help;
    QStringList m_pages;
};

void CHelpPagesTest::initTestCase()
{
    QString index = QFINDTESTDATA("../../res/help/index.html");
    QVERIFY(!index.isEmpty());
    m_help = QFileInfo(index).dir();
    m_pages = m_help.entryList({"*.html"}, QDir::Files);
    QVERIFY(m_pages.size() >= 8);
}

QString CHelpPagesTest::Read(const QString& page) const
{
    QFile file(m_help.filePath(page));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList CHelpPagesTest::Links(const QString& page) const
{
    QStringList links;
    QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& match : href.globalMatch(Read(page)))
        links << match.captured(1);
    return links;
}

void CHelpPagesTest::EveryPage_HasATitleAndLinksBackToContents()
{
    for (const QString& page : m_pages)
    {
        QString text = Read(page);
        QVERIFY2(QRegularExpression("<title>[^<]+</title>").match(text).hasMatch(),
                 qPrintable(page));
        if (page != "index.html")
            QVERIFY2(Links(page).contains("index.html"), qPrintable(page));
    }
}

void CHelpPagesTest::EveryLocalLink_LeadsToAPageAndAnchorThatExist()
{
    for (const QString& page : m_pages)
    {
        for (const QString& link : Links(page))
        {
            if (link.startsWith("http:") || link.startsWith("https:"))
                continue;
            QString target = link.section('#', 0, 0);
            if (target.isEmpty())
                target = page;
            QString anchor = link.section('#', 1);
            QString where = page + " -> " + link;
            QVERIFY2(m_help.exists(target), qPrintable(where));
            if (!anchor.isEmpty())
                QVERIFY2(Read(target).contains("name=\"" + anchor + "\""), qPrintable(where));
        }
    }
}

void CHelpPagesTest::EveryPage_IsReachableFromContents()
{
    QSet<QString> reached{"index.html"};
    QStringList queue{"index.html"};
    while (!queue.isEmpty())
    {
        for (const QString& link : Links(queue.takeFirst()))
        {
            QString target = link.section('#', 0, 0);
            if (target.endsWith(".html") && !reached.contains(target))
            {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QString& page : m_pages)
        QVERIFY2(reached.contains(page), qPrintable(page));
}

void CHelpPagesTest::MessagesPage_ExplainsEveryMessageAUserCanMeet()
{
    const EMessageId messages[] = {
        EMessageId::OleInitFailed,       EMessageId::TipsFileMissing,
        EMessageId::TipsFileUnreadable,  EMessageId::FileIgnored,
        EMessageId::AddFolderQuestion,   EMessageId::ComException,
        EMessageId::DispatchException,   EMessageId::HelpFileMissing,
        EMessageId::FileInUse,           EMessageId::SystemError,
        EMessageId::ExtractionFailed,    EMessageId::ToolNotRun,
        EMessageId::OpenFailed,          EMessageId::OverwriteQuestion,
        EMessageId::DeleteFailed,        EMessageId::NoTextExtracted,
        EMessageId::ExtractionWarning,   EMessageId::ReportLinesOmitted,
        EMessageId::FolderUnreadable,    EMessageId::ConversionNotStarted,
        EMessageId::AddReportSaveFailed, EMessageId::OcrMissing,
        EMessageId::ReadByOcr,           EMessageId::OcrFailedNoText,
        EMessageId::OcrFailedSomePages,  EMessageId::TimedOut,
        EMessageId::TextNotWritten,      EMessageId::PdfNeedsPassword,
        EMessageId::PdfWrongPassword,    EMessageId::PdfLockedNeedsWorkers,
    };
    QString page = Read("messages.html");
    for (EMessageId id : messages)
    {
        QString number = QString::number(static_cast<int>(id));
        QVERIFY2(page.contains(QRegularExpression("\\b" + number + "\\b")), qPrintable(number));
        // The first words of the message, as the user reads them.
        std::string_view text = CMessageTable::Text(id);
        QString opening = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                              .section('%', 0, 0)
                              .section('\'', 0, 0)
                              .trimmed();
        QVERIFY2(page.contains(opening), qPrintable(number + ": " + opening));
    }
}

void CHelpPagesTest::SettingsPage_NamesEveryStoredValueAndWhereTheyLie()
{
    QString page = Read("settings.html");
    for (const char* name :
         {"File Open Path", "Time limit per file", "Existing text", "Text layout", "Line ends",
          "Page breaks", "Byte order mark", "Problems at end", "Read scanned pages",
          "OCR languages", "MainFrame", "Tip", "StartUp", "FilePos", "TimeStamp",
          "~/.config/Orrinval Software/Zelto.conf"})
        QVERIFY2(page.contains(name), name);
}

void CHelpPagesTest::KeysPage_NamesEveryShortcut()
{
    QString page = Read("keys.html");
    for (const char* key : {"Ctrl+R", "Ctrl+V", "Shift+Insert", ">F1<", "Shift+F1"})
        QVERIFY2(page.contains(key), key);
}

void CHelpPagesTest::Contents_LoadsInTheHelpBrowser()
{
    QTextBrowser browser;
    browser.setSource(QUrl::fromLocalFile(m_help.filePath("index.html")));
    QVERIFY(browser.toPlainText().contains("Zelto Extractor Help"));
    QCOMPARE(browser.documentTitle(), QString("Contents"));
}

QTEST_MAIN(CHelpPagesTest)
#include "tst_helppages.moc"
