// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "app/CommandLine.h"

#include <QDir>
#include <QtTest>

#include <filesystem>

namespace
{
using CArguments = std::vector<std::string>;

const std::string kCurrent = "/home/user/papers";

QStringList ToList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

CCommandLine Parse(const QStringList& arguments)
{
    CArguments bytes;
    for (const QString& argument : arguments)
        bytes.push_back(argument.toStdString());
    return CCommandLine::Parse(bytes, kCurrent);
}
} // namespace

class CCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void NoArguments_ShowsWindowWithNothingToAdd();
    void AutomationSwitch_InAnyCaseStartsWithoutWindow_data();
    void AutomationSwitch_InAnyCaseStartsWithoutWindow();
    void NearMisses_AreNotSwitches_data();
    void NearMisses_AreNotSwitches();
    void Paths_AreMadeAbsoluteAndKeptInOrder_data();
    void Paths_AreMadeAbsoluteAndKeptInOrder();
    void UnknownOptions_AreNotedAndIgnored();
    void DoubleDash_EndsTheOptions();
    void EmptyArgument_NamesNothing();
    void FilesWithAutomation_AreNotedAsNotAdded();
    void FromProcess_SkipsProgramNameAndUsesCurrentFolder();
};

void CCommandLineTest::NoArguments_ShowsWindowWithNothingToAdd()
{
    CCommandLine commandLine = Parse({});
    QVERIFY(!commandLine.RunsForAutomation());
    QVERIFY(commandLine.ShowSplash());
    QVERIFY(commandLine.Paths().empty());
    QVERIFY(commandLine.UnknownOptions().empty());
    QVERIFY(commandLine.Notes().empty());
}

void CCommandLineTest::AutomationSwitch_InAnyCaseStartsWithoutWindow_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("embedded");
    QTest::addColumn<bool>("automated");
    QTest::newRow("-Embedding") << "-Embedding" << true << false;
    QTest::newRow("/Embedding") << "/Embedding" << true << false;
    QTest::newRow("-embedding") << "-embedding" << true << false;
    QTest::newRow("/EMBEDDING") << "/EMBEDDING" << true << false;
    QTest::newRow("-Automation") << "-Automation" << false << true;
    QTest::newRow("/Automation") << "/Automation" << false << true;
    QTest::newRow("-aUtOmAtIoN") << "-aUtOmAtIoN" << false << true;
    QTest::newRow("/automation") << "/automation" << false << true;
}

void CCommandLineTest::AutomationSwitch_InAnyCaseStartsWithoutWindow()
{
    QFETCH(QString, argument);
    QFETCH(bool, embedded);
    QFETCH(bool, automated);
    CCommandLine commandLine = Parse({argument});
    QCOMPARE(commandLine.RunEmbedded(), embedded);
    QCOMPARE(commandLine.RunAutomated(), automated);
    QVERIFY(commandLine.RunsForAutomation());
    QVERIFY(!commandLine.ShowSplash());
    QVERIFY(commandLine.Paths().empty());
    QVERIFY(commandLine.UnknownOptions().empty());
}

void CCommandLineTest::NearMisses_AreNotSwitches_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("unknown");
    QTest::newRow("trailing letter")
        << "-Embeddings" << QStringList() << QStringList{"-Embeddings"};
    QTest::newRow("two dashes") << "--Automation" << QStringList() << QStringList{"--Automation"};
    QTest::newRow("bare word") << "Automation" << QStringList{"/home/user/papers/Automation"}
                               << QStringList();
    QTest::newRow("folder under root")
        << "/Embedding/x.pdf" << QStringList{"/Embedding/x.pdf"} << QStringList();
    QTest::newRow("longer path") << "/Automations" << QStringList{"/Automations"} << QStringList();
}

void CCommandLineTest::NearMisses_AreNotSwitches()
{
    QFETCH(QString, argument);
    QFETCH(QStringList, paths);
    QFETCH(QStringList, unknown);
    CCommandLine commandLine = Parse({argument});
    QVERIFY(!commandLine.RunsForAutomation());
    QCOMPARE(ToList(commandLine.Paths()), paths);
    QCOMPARE(ToList(commandLine.UnknownOptions()), unknown);
}

void CCommandLineTest::Paths_AreMadeAbsoluteAndKeptInOrder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("relative file")
        << QStringList{"a.pdf"} << QStringList{"/home/user/papers/a.pdf"};
    QTest::newRow("order kept, not sorted")
        << QStringList{"z.pdf", "/data/b.pdf", "a.pdf"}
        << QStringList{"/home/user/papers/z.pdf", "/data/b.pdf", "/home/user/papers/a.pdf"};
    QTest::newRow("dots resolved")
        << QStringList{"./x/../y.pdf", "../other/c.pdf"}
        << QStringList{"/home/user/papers/y.pdf", "/home/user/other/c.pdf"};
    QTest::newRow("folder with separators")
        << QStringList{"reports/", "/srv/scans//"}
        << QStringList{"/home/user/papers/reports", "/srv/scans"};
    QTest::newRow("root stays root") << QStringList{"/"} << QStringList{"/"};
    QTest::newRow("spaces and letters kept")
        << QStringList{"Annual Report É.PDF"}
        << QStringList{"/home/user/papers/Annual Report É.PDF"};
    QTest::newRow("switch among files")
        << QStringList{"a.pdf", "-automation", "b.pdf"}
        << QStringList{"/home/user/papers/a.pdf", "/home/user/papers/b.pdf"};
}

void CCommandLineTest::Paths_AreMadeAbsoluteAndKeptInOrder()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, paths);
    QCOMPARE(ToList(Parse(arguments).Paths()), paths);
}

void CCommandLineTest::UnknownOptions_AreNotedAndIgnored()
{
    CCommandLine commandLine = Parse({"-x", "a.pdf", "--help", "-"});
    QVERIFY(!commandLine.RunsForAutomation());
    QCOMPARE(ToList(commandLine.Paths()), QStringList{"/home/user/papers/a.pdf"});
    QCOMPARE(ToList(commandLine.UnknownOptions()), (QStringList{"-x", "--help", "-"}));
    QCOMPARE(ToList(commandLine.Notes()),
             (QStringList{"unknown option '-x' ignored", "unknown option '--help' ignored",
                          "unknown option '-' ignored"}));
}

void CCommandLineTest::DoubleDash_EndsTheOptions()
{
    CCommandLine commandLine = Parse({"-q", "--", "-odd.pdf", "-Automation", "--"});
    QVERIFY(!commandLine.RunsForAutomation());
    QCOMPARE(ToList(commandLine.Paths()),
             (QStringList{"/home/user/papers/-odd.pdf", "/home/user/papers/-Automation",
                          "/home/user/papers/--"}));
    QCOMPARE(ToList(commandLine.UnknownOptions()), QStringList{"-q"});
}

void CCommandLineTest::EmptyArgument_NamesNothing()
{
    CCommandLine commandLine = Parse({"", "a.pdf", ""});
    QCOMPARE(ToList(commandLine.Paths()), QStringList{"/home/user/papers/a.pdf"});
    QVERIFY(commandLine.Notes().empty());
}

void CCommandLineTest::FilesWithAutomation_AreNotedAsNotAdded()
{
    CCommandLine commandLine = Parse({"/Embedding", "a.pdf"});
    QVERIFY(commandLine.RunsForAutomation());
    QCOMPARE(commandLine.Paths().size(), std::size_t(1));
    QCOMPARE(commandLine.Notes().size(), std::size_t(1));
    QVERIFY(QString::fromStdString(commandLine.Notes().front()).contains("not added"));
}

void CCommandLineTest::FromProcess_SkipsProgramNameAndUsesCurrentFolder()
{
    CTempDir dir;
    QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(dir.Path())));
    std::string current = std::filesystem::current_path().string();
    std::string program = "zelto-extractor";
    std::string file = "a.pdf";
    std::string option = "-AUTOMATION";
    char* argv[] = {program.data(), file.data(), option.data(), nullptr};
    CCommandLine commandLine = CCommandLine::FromProcess(3, argv);
    QDir::setCurrent(previous);

    QVERIFY(commandLine.RunAutomated());
    QCOMPARE(ToList(commandLine.Paths()), QStringList{QString::fromStdString(current + "/a.pdf")});
}

QTEST_GUILESS_MAIN(CCommandLineTest)
#include "tst_commandline.moc"
