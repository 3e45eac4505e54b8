// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "app/HelpLauncher.h"
#include "app/HelpViewer.h"
#include "platform/MessageTable.h"

#include <QDir>
#include <QTextBrowser>
#include <QtTest>

#include <filesystem>

namespace
{
const char* const kContents = "<html><head><title>Contents</title></head><body>"
                              "<h1>Contents</h1><a href=\"keys.html\">Keys</a></body></html>";
const char* const kKeys = "<html><head><title>Keys</title></head><body>F1</body></html>";
} // namespace

class CHelpLauncherTest : public QObject
{
    Q_OBJECT

private slots:
    void HelpPresent_OpensViewerAtContents();
    void EveryRequest_ReusesTheOneViewerAtContents();
    void ClosedViewer_ComesBackOnNextRequest();
    void HelpAbsent_EachRequestSaysTheHelpFileIsMissingWithItsFullPath();
    void RelativePath_IsReportedInFull();
    void Presence_IsDecidedOnceAtStart();
    void HelpDeletedAfterStart_StillOpensViewer();
    void FolderInPlaceOfHelpFile_CountsAsAbsent();
};

void CHelpLauncherTest::HelpPresent_OpensViewerAtContents()
{
    CTempDir dir;
    std::string index = dir.Write("help/index.html", kContents);
    dir.Write("help/keys.html", kKeys);
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    QVERIFY(launcher.HelpFileExists());
    QVERIFY(!launcher.Viewer());

    launcher.ShowHelp();
    CHelpViewer* viewer = launcher.Viewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->Browser().source(), QUrl::fromLocalFile(QString::fromStdString(index)));
    QVERIFY(viewer->Browser().toPlainText().contains("Contents"));
    QVERIFY(viewer->windowTitle().startsWith("Contents"));
    QVERIFY(!viewer->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(prompts.Messages().empty());
}

void CHelpLauncherTest::EveryRequest_ReusesTheOneViewerAtContents()
{
    CTempDir dir;
    std::string index = dir.Write("help/index.html", kContents);
    std::string keys = dir.Write("help/keys.html", kKeys);
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    launcher.ShowHelp();
    CHelpViewer* viewer = launcher.Viewer();

    viewer->Browser().setSource(QUrl::fromLocalFile(QString::fromStdString(keys)));
    QVERIFY(viewer->Browser().toPlainText().contains("F1"));
    launcher.ShowHelp();
    QCOMPARE(launcher.Viewer(), viewer);
    QCOMPARE(viewer->Browser().source(), QUrl::fromLocalFile(QString::fromStdString(index)));
    QVERIFY(viewer->Browser().isBackwardAvailable());
    launcher.ShowHelp();
    QCOMPARE(launcher.Viewer(), viewer);
    QCOMPARE(viewer->Browser().source(), QUrl::fromLocalFile(QString::fromStdString(index)));
}

void CHelpLauncherTest::ClosedViewer_ComesBackOnNextRequest()
{
    CTempDir dir;
    std::string index = dir.Write("help/index.html", kContents);
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    launcher.ShowHelp();
    CHelpViewer* viewer = launcher.Viewer();
    viewer->close();
    QVERIFY(!viewer->isVisible());
    launcher.ShowHelp();
    QCOMPARE(launcher.Viewer(), viewer);
    QVERIFY(viewer->isVisible());
}

void CHelpLauncherTest::HelpAbsent_EachRequestSaysTheHelpFileIsMissingWithItsFullPath()
{
    CTempDir dir;
    std::string index = dir / "share/zelto-extractor/help/index.html";
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    QVERIFY(!launcher.HelpFileExists());
    launcher.ShowHelp();
    launcher.ShowHelp();
    QCOMPARE(prompts.Messages().size(), size_t(2));
    for (const CRecordedMessage& message : prompts.Messages())
    {
        QCOMPARE(message.ids, std::vector<EMessageId>{EMessageId::HelpFileMissing});
        QCOMPARE(message.style, EMessageStyle::Plain);
        QCOMPARE(message.strText,
                 "Help is not available as the help file '" + index + "' cannot be found.");
    }
    QVERIFY(!launcher.Viewer());
}

void CHelpLauncherTest::RelativePath_IsReportedInFull()
{
    CTempDir dir;
    QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(dir.Path())));
    CScriptedPrompts prompts;
    CHelpLauncher launcher("help/../help/index.html", prompts);
    QDir::setCurrent(before);
    QCOMPARE(launcher.HelpFilePath(), dir / "help/index.html");
    launcher.ShowHelp();
    QVERIFY(prompts.Messages().at(0).strText.find(dir / "help/index.html") != std::string::npos);
}

void CHelpLauncherTest::Presence_IsDecidedOnceAtStart()
{
    CTempDir dir;
    CScriptedPrompts prompts;
    CHelpLauncher launcher(dir / "help/index.html", prompts);
    dir.Write("help/index.html", kContents);
    launcher.ShowHelp();
    QVERIFY(!launcher.HelpFileExists());
    QCOMPARE(prompts.FirstIds(), std::vector<EMessageId>{EMessageId::HelpFileMissing});
    QVERIFY(!launcher.Viewer());
}

void CHelpLauncherTest::HelpDeletedAfterStart_StillOpensViewer()
{
    CTempDir dir;
    std::string index = dir.Write("help/index.html", kContents);
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    std::filesystem::remove(index);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No document for"));
    launcher.ShowHelp();
    QVERIFY(launcher.Viewer());
    QVERIFY(launcher.Viewer()->isVisible());
    QVERIFY(prompts.Messages().empty());
}

void CHelpLauncherTest::FolderInPlaceOfHelpFile_CountsAsAbsent()
{
    CTempDir dir;
    std::string index = dir.MakeFolder("help/index.html");
    CScriptedPrompts prompts;
    CHelpLauncher launcher(index, prompts);
    QVERIFY(!launcher.HelpFileExists());
    launcher.ShowHelp();
    QCOMPARE(prompts.FirstIds(), std::vector<EMessageId>{EMessageId::HelpFileMissing});
}

QTEST_MAIN(CHelpLauncherTest)
#include "tst_helplauncher.moc"
