// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "PdfMaker.h"
#include "TempDir.h"
#include "app/AutomationService.h"
#include "app/CommandLine.h"
#include "app/HelpLauncher.h"
#include "app/HelpViewer.h"
#include "app/ZeltoApp.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/QtText.h"
#include "dialogs/TipDlg.h"
#include "dialogs/YesNoAllDlg.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "person/Prompts.h"
#include "platform/MessageTable.h"
#include "ui/MainFrame.h"
#include "ui/QtSettings.h"
#include "ui/ZeltoView.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QMessageBox>
#include <QProcess>
#include <QTextBrowser>
#include <QtTest>

#include <cstring>
#include <filesystem>

namespace
{
// The first argument that makes this test program run the real program's
// start-up instead of the tests, so that what ends the process (the exit
// status, a failing window system, signals) can be watched from outside.
constexpr const char* kRunProgram = "--run-program";

const std::string kTipsUpToFirst = "; Tips for the tests\nFirst tip\n";
const std::string kTips = kTipsUpToFirst + "Second tip\n";
const char* const kHelpContents =
    "<html><head><title>Contents</title></head><body><h1>Contents</h1></body></html>";

QString ServiceName()
{
    return QString::fromLatin1(CAutomationService::kServiceName);
}

CCommandLine CommandLine(const std::vector<std::string>& arguments, const std::string& folder = "/")
{
    return CCommandLine::Parse(arguments, folder);
}

bool IsOwned(const QDBusConnection& bus)
{
    QDBusReply<bool> reply = bus.interface()->isServiceRegistered(ServiceName());
    return reply.isValid() && reply.value();
}

// A session bus of the test's own, so that nothing reaches the desktop's.
class CPrivateBus
{
public:
    bool Start()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted(10000))
            return false;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000))
        {
        }
        m_strAddress = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
        return !m_strAddress.isEmpty();
    }

    void Stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        m_daemon.waitForFinished(10000);
    }

    ~CPrivateBus() { Stop(); }

    const QString& Address() const { return m_strAddress; }

private:
    QProcess m_daemon;
    QString m_strAddress;
};

// A connection of the test's own to a bus, to look at it from outside.
class CProbe
{
public:
    CProbe(const QString& address, const QString& name)
        : m_strName(name), m_connection(QDBusConnection::connectToBus(address, name))
    {
    }
    ~CProbe() { QDBusConnection::disconnectFromBus(m_strName); }

    QDBusConnection& Bus() { return m_connection; }

private:
    QString m_strName;
    QDBusConnection m_connection;
};
} // namespace

class CZeltoAppTest : public QObject
{
    Q_OBJECT

public:
    explicit CZeltoAppTest(std::string home) : m_strHome(std::move(home)) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void StartUp_ShowsWindowWithCaptionIconAndDrops();
    void StartUp_RestoresStoredPlacementBeforeShowing();
    void StartUp_ProgramFolderIsTheExecutablesFolderWithSeparator();
    void StartupTip_FollowsTheStartUpSetting_data();
    void StartupTip_FollowsTheStartUpSetting();
    void InstalledProgram_FindsTipsAndHelpInItsDataFolder();
    void CommandLineFiles_AreAddedAfterWindowShows();
    void AboutCommand_ShowsAboutBoxOverTheWindow();
    void TipCommand_ShowsTipEvenWhenSwitchedOff();
    void HelpTopicsF1AndShiftF1Click_OpenTheHelpAtContents();
    void HelpCommand_WithoutHelp_SaysTheHelpFileIsMissingWithItsPath();
    void ExitInstance_ClosesWindowAndReturnsLoopResult();

    void Automation_RegistersTheServiceAndShowsNoWindow();
    void Automation_SecondInstanceIsRefused();
    void Automation_RefusedServiceLeavesTheHolderAlone();
    void Automation_EndsOnSigtermAndGivesTheNameBack();
    void Automation_EndsWhenTheBusGoesAway();
    void Automation_WithoutBus_FailsWithMessageAndStatus();
    void PlatformFailure_SaysSoAndEndsWithFailureStatus();

private:
    // A program file (which need not exist) in a folder of its own, with
    // the tips and the help beside it as asked.
    std::string MakeProgram(bool bTips, bool bHelp);
    void SetTipsAtStartup(bool bShow);
    static QProcessEnvironment ProgramEnvironment();
    static void StartProgram(QProcess& process, const QStringList& arguments,
                             const QProcessEnvironment& environment);

    std::string m_strHome;
    CPrivateBus m_bus;
    std::unique_ptr<CTempDir> m_pDir;
};

void CZeltoAppTest::initTestCase()
{
    // Every setting of these tests stays in the temporary home.
    QVERIFY(CQtSettings().Location().startsWith(CQtText::FromPath(m_strHome)));
    QVERIFY2(m_bus.Start(), "dbus-daemon could not be started");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.Address().toLocal8Bit());
}

void CZeltoAppTest::init()
{
    QSettings settings(QString::fromLatin1(CQtSettings::kOrganization),
                       QString::fromLatin1(CQtSettings::kApplication));
    settings.clear();
    settings.sync();
    m_pDir = std::make_unique<CTempDir>();
}

void CZeltoAppTest::cleanupTestCase()
{
    m_bus.Stop();
}

std::string CZeltoAppTest::MakeProgram(bool bTips, bool bHelp)
{
    m_pDir->MakeFolder("bin");
    if (bTips)
        m_pDir->Write("bin/tips.txt", kTips);
    if (bHelp)
        m_pDir->Write("bin/help/index.html", kHelpContents);
    return *m_pDir / "bin/zelto-extractor";
}

void CZeltoAppTest::SetTipsAtStartup(bool bShow)
{
    CQtSettings().SetInt("Tip", "StartUp", bShow ? 0 : 1);
}

void CZeltoAppTest::StartUp_ShowsWindowWithCaptionIconAndDrops()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(true, true));
    QVERIFY(app.InitInstance(CCommandLine()));

    CMainFrame* frame = app.MainFrame();
    QVERIFY(frame);
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->windowTitle(), QString("Zelto Extractor - PDF to Text"));
    QVERIFY(frame->acceptDrops());
    QVERIFY(frame->View());
    QVERIFY(app.Document());
    QCOMPARE(app.Document()->RowCount(), 0);
    QVERIFY(!app.Automation());
    QCOMPARE(QCoreApplication::organizationName(), QString("Orrinval Software"));
    QCOMPARE(QCoreApplication::applicationName(), QString("Zelto"));
    QCOMPARE(QGuiApplication::desktopFileName(), QString("zelto-extractor"));
    QVERIFY(!QApplication::windowIcon().isNull());
    QVERIFY(app.Settings()->Location().startsWith(CQtText::FromPath(m_strHome)));
    QVERIFY(app.HelpFileExists());
    QCOMPARE(app.Converters().Context().ProgramFolder(), *m_pDir / "bin/");
}

void CZeltoAppTest::StartUp_RestoresStoredPlacementBeforeShowing()
{
    SetTipsAtStartup(false);
    CQtSettings().SetString("", CMainFrame::kPlacementKey, "0,1,-1,-1,-1,-1,40,30,640,430");
    CZeltoApp app(MakeProgram(false, false));
    QVERIFY(app.InitInstance(CCommandLine()));
    QVERIFY(app.MainFrame()->isVisible());
    QCOMPARE(app.MainFrame()->size(), QSize(600, 400));
}

void CZeltoAppTest::StartUp_ProgramFolderIsTheExecutablesFolderWithSeparator()
{
    SetTipsAtStartup(false);
    CZeltoApp app;
    QVERIFY(app.ProgramFolder().empty());
    QVERIFY(app.InitInstance(CCommandLine()));
    QString expected = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QCOMPARE(CQtText::FromPath(app.ProgramFolder()), expected);
    QVERIFY(app.ProgramFolder().back() == '/');
    QCOMPARE(CQtText::FromPath(app.Converters().Context().ProgramFolder()), expected);
}

void CZeltoAppTest::StartupTip_FollowsTheStartUpSetting_data()
{
    QTest::addColumn<int>("startUp");
    QTest::addColumn<bool>("shown");
    QTest::newRow("never set") << -1 << true;
    QTest::newRow("switched on") << 0 << true;
    QTest::newRow("switched off") << 1 << false;
}

void CZeltoAppTest::StartupTip_FollowsTheStartUpSetting()
{
    QFETCH(int, startUp);
    QFETCH(bool, shown);
    if (startUp >= 0)
        CQtSettings().SetInt("Tip", "StartUp", startUp);
    CZeltoApp app(MakeProgram(true, false));

    QString tipShown;
    bool bOverVisibleWindow = false;
    CModalDriver driver;
    driver.Expect<CTipDlg>(
        [&](CTipDlg* dialog)
        {
            tipShown = dialog->TipText();
            bOverVisibleWindow = app.MainFrame() && app.MainFrame()->isVisible() &&
                                 dialog->parentWidget() == app.MainFrame();
            dialog->accept();
        });
    QVERIFY(app.InitInstance(CCommandLine()));

    QCOMPARE(driver.Handled(), shown);
    if (shown)
    {
        QCOMPARE(tipShown, QString("First tip\n"));
        QVERIFY(bOverVisibleWindow);
    }
    // Made and destroyed either way: the tips move on by the one read.
    CQtSettings settings;
    QCOMPARE(settings.GetInt("Tip", "FilePos"), static_cast<int>(kTipsUpToFirst.size()));
    QVERIFY(!settings.GetString("Tip", "TimeStamp").empty());
}

void CZeltoAppTest::InstalledProgram_FindsTipsAndHelpInItsDataFolder()
{
    m_pDir->MakeFolder("bin");
    m_pDir->Write("share/zelto-extractor/tips.txt", "Installed tip\n");
    std::string help = m_pDir->Write("share/zelto-extractor/help/index.html", kHelpContents);
    CZeltoApp app(*m_pDir / "bin/zelto-extractor");

    QString tipShown;
    CModalDriver driver;
    driver.Expect<CTipDlg>(
        [&](CTipDlg* dialog)
        {
            tipShown = dialog->TipText();
            dialog->accept();
        });
    QVERIFY(app.InitInstance(CCommandLine()));

    QVERIFY(driver.Handled());
    QCOMPARE(tipShown, QString("Installed tip\n"));
    QVERIFY(app.HelpFileExists());
    QCOMPARE(app.Help()->HelpFilePath(), help);
}

void CZeltoAppTest::CommandLineFiles_AreAddedAfterWindowShows()
{
    SetTipsAtStartup(false);
    m_pDir->MakeFolder("papers/more");
    CPdfMaker::Write(*m_pDir / "papers/one.pdf", {"Page of the first file"});
    CPdfMaker::Write(*m_pDir / "papers/more/two.pdf", {"Page of the second file"});
    CZeltoApp app(MakeProgram(false, false));

    bool bWindowShownAtQuestion = false;
    QString question;
    CModalDriver driver;
    driver.Expect<CYesNoAllDlg>(
        [&](CYesNoAllDlg* dialog)
        {
            bWindowShownAtQuestion = app.MainFrame()->isVisible();
            question = dialog->Question();
            dialog->done(FolderAnswerYes);
        });
    QVERIFY(app.InitInstance(CommandLine({"one.pdf", "more/"}, *m_pDir / "papers")));

    // Nothing is added before the event loop runs with the window shown.
    QVERIFY(app.MainFrame()->isVisible());
    QCOMPARE(app.Document()->RowCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(app.Document()->RowCount(), 2, 120000);

    QVERIFY(driver.Handled());
    QVERIFY(bWindowShownAtQuestion);
    QVERIFY(question.contains(CQtText::FromPath(*m_pDir / "papers/more")));
    QVERIFY(CTempDir::ReadFile(*m_pDir / "papers/one.txt").find("first file") != std::string::npos);
    QVERIFY(CTempDir::ReadFile(*m_pDir / "papers/more/two.txt").find("second file") !=
            std::string::npos);

    // Remove All empties the list and leaves the text files alone.
    app.MainFrame()->Action(ID_FILE_NEW)->trigger();
    QCOMPARE(app.Document()->RowCount(), 0);
    QVERIFY(std::filesystem::exists(*m_pDir / "papers/one.txt"));
}

void CZeltoAppTest::AboutCommand_ShowsAboutBoxOverTheWindow()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(false, false));
    QVERIFY(app.InitInstance(CCommandLine()));

    QWidget* parent = nullptr;
    QString caption;
    CModalDriver driver;
    driver.Expect<CAboutDlg>(
        [&](CAboutDlg* dialog)
        {
            parent = dialog->parentWidget();
            caption = dialog->windowTitle();
            dialog->accept();
        });
    app.MainFrame()->Action(ID_APP_ABOUT)->trigger();

    QVERIFY(driver.Handled());
    QCOMPARE(parent, app.MainFrame());
    QCOMPARE(caption, QString("About Pravoline"));
}

void CZeltoAppTest::TipCommand_ShowsTipEvenWhenSwitchedOff()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(true, false));
    QVERIFY(app.InitInstance(CCommandLine()));

    QString tipShown;
    CModalDriver driver;
    driver.Expect<CTipDlg>(
        [&](CTipDlg* dialog)
        {
            tipShown = dialog->TipText();
            dialog->reject();
        });
    app.MainFrame()->Action(ID_SHOW_TIP)->trigger();

    QVERIFY(driver.Handled());
    // Start-up read the first tip without showing it.
    QCOMPARE(tipShown, QString("Second tip\n"));
    QCOMPARE(CQtSettings().GetInt("Tip", "StartUp"), 1);
}

void CZeltoAppTest::HelpTopicsF1AndShiftF1Click_OpenTheHelpAtContents()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(false, true));
    QVERIFY(app.InitInstance(CCommandLine()));
    CMainFrame* frame = app.MainFrame();
    const QUrl contents = QUrl::fromLocalFile(CQtText::FromPath(*m_pDir / "bin/help/index.html"));

    frame->Action(ID_HELP_FINDER)->trigger();
    CHelpViewer* viewer = app.Help()->Viewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->Browser().source(), contents);

    viewer->hide();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame->View(), Qt::Key_F1);
    QVERIFY(viewer->isVisible());

    viewer->hide();
    viewer->Browser().setSource(QUrl());
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame->View(), Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(!viewer->isVisible());
    QTest::mouseClick(frame->View()->viewport(), Qt::LeftButton);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->Browser().source(), contents);
    QCOMPARE(app.Help()->Viewer(), viewer);
}

void CZeltoAppTest::HelpCommand_WithoutHelp_SaysTheHelpFileIsMissingWithItsPath()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(false, false));
    QVERIFY(app.InitInstance(CCommandLine()));
    QVERIFY(!app.HelpFileExists());

    QString text;
    CModalDriver driver;
    driver.Expect<QMessageBox>(
        [&](QMessageBox* box)
        {
            text = box->text();
            box->accept();
        });
    app.MainFrame()->Action(ID_HELP_FINDER)->trigger();

    QVERIFY(driver.Handled());
    QCOMPARE(text,
             CQtText::Message(EMessageId::HelpFileMissing, {*m_pDir / "bin/help/index.html"}));
    QVERIFY(!app.Help()->Viewer());
}

void CZeltoAppTest::ExitInstance_ClosesWindowAndReturnsLoopResult()
{
    SetTipsAtStartup(false);
    CZeltoApp app(MakeProgram(false, false));
    QVERIFY(app.InitInstance(CCommandLine()));
    QVERIFY(app.MainFrame());
    QCOMPARE(app.ExitInstance(3), 3);
    QVERIFY(!app.MainFrame());
    QVERIFY(!app.Document());
}

void CZeltoAppTest::Automation_RegistersTheServiceAndShowsNoWindow()
{
    CProbe probe(m_bus.Address(), QStringLiteral("probe"));
    QVERIFY(probe.Bus().isConnected());
    QVERIFY(!IsOwned(probe.Bus()));
    {
        CZeltoApp app(MakeProgram(true, true));
        QVERIFY(app.InitInstance(CommandLine({"-Automation"})));

        QVERIFY(!app.MainFrame());
        QVERIFY(!app.Document());
        QVERIFY(app.ProgramFolder().empty());
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY2(!widget->isVisible(), qPrintable(widget->metaObject()->className()));
        QVERIFY(app.Automation());
        QVERIFY(app.Automation()->IsRegistered());

        QVERIFY(IsOwned(probe.Bus()));
        QCOMPARE(probe.Bus().interface()->serviceOwner(ServiceName()).value(),
                 QDBusConnection::sessionBus().baseService());
        QDBusPendingCall pending = probe.Bus().asyncCall(QDBusMessage::createMethodCall(
            ServiceName(), QString::fromLatin1(CAutomationService::kDocumentPath),
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
        QTRY_VERIFY_WITH_TIMEOUT(pending.isFinished(), 30000);
        QDBusPendingReply<QString> reply = pending;
        QVERIFY2(reply.isValid(), qPrintable(reply.error().message()));
        QVERIFY(reply.value().contains("<interface name=\"com.orrinval.Zelto.Document\">"));
    }
    QVERIFY(!IsOwned(probe.Bus()));
}

void CZeltoAppTest::Automation_SecondInstanceIsRefused()
{
    CZeltoApp app(MakeProgram(false, false));
    QVERIFY(app.InitInstance(CommandLine({"/EMBEDDING"})));

    QProcess second;
    StartProgram(second, {"-automation"}, ProgramEnvironment());
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(second.readAllStandardError().contains("held by another process"));
    QVERIFY(app.Automation()->IsRegistered());
}

void CZeltoAppTest::Automation_RefusedServiceLeavesTheHolderAlone()
{
    CProbe probe(m_bus.Address(), QStringLiteral("probe-holder"));
    CAutomationService holder;
    QVERIFY(holder.Register());
    {
        CAutomationService second;
        QVERIFY(!second.Register());
        QVERIFY(!second.ErrorText().isEmpty());
    }
    QVERIFY(holder.IsRegistered());
    QVERIFY(IsOwned(probe.Bus()));
    QVERIFY(QDBusConnection::sessionBus().objectRegisteredAt(
        QString::fromLatin1(CAutomationService::kDocumentPath)));
}

void CZeltoAppTest::Automation_EndsOnSigtermAndGivesTheNameBack()
{
    CProbe probe(m_bus.Address(), QStringLiteral("probe-sigterm"));
    QProcess program;
    StartProgram(program, {"-Embedding"}, ProgramEnvironment());
    QTRY_VERIFY_WITH_TIMEOUT(IsOwned(probe.Bus()), 60000);
    QCOMPARE(qint64(probe.Bus().interface()->servicePid(ServiceName()).value()),
             program.processId());

    program.terminate();
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!IsOwned(probe.Bus()));
}

void CZeltoAppTest::Automation_EndsWhenTheBusGoesAway()
{
    CPrivateBus bus;
    QVERIFY(bus.Start());
    QProcess program;
    {
        CProbe probe(bus.Address(), QStringLiteral("probe-own-bus"));
        QProcessEnvironment environment = ProgramEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
        StartProgram(program, {"-Automation"}, environment);
        QTRY_VERIFY_WITH_TIMEOUT(IsOwned(probe.Bus()), 60000);
    }
    bus.Stop();
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void CZeltoAppTest::Automation_WithoutBus_FailsWithMessageAndStatus()
{
    QProcessEnvironment environment = ProgramEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       CQtText::FromPath("unix:path=" + *m_pDir / "no-bus-here"));
    QProcess program;
    StartProgram(program, {"-Automation"}, environment);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QByteArray errors = program.readAllStandardError();
    QVERIFY2(errors.contains("cannot start for automation: no D-Bus session bus"),
             errors.constData());
}

void CZeltoAppTest::PlatformFailure_SaysSoAndEndsWithFailureStatus()
{
    QProcessEnvironment environment = ProgramEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess program;
    StartProgram(program, {}, environment);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QByteArray errors = program.readAllStandardError();
    QVERIFY2(errors.contains(CMessageTable::Text(EMessageId::OleInitFailed).data()),
             errors.constData());
}

QProcessEnvironment CZeltoAppTest::ProgramEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

void CZeltoAppTest::StartProgram(QProcess& process, const QStringList& arguments,
                                 const QProcessEnvironment& environment)
{
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationFilePath(),
                  QStringList{QString::fromLatin1(kRunProgram)} + arguments);
    QVERIFY(process.waitForStarted(30000));
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], kRunProgram) == 0)
    {
        std::vector<char*> programArgv{argv[0]};
        programArgv.insert(programArgv.end(), argv + 2, argv + argc);
        programArgv.push_back(nullptr);
        int programArgc = argc - 1;
        return CZeltoApp::Run(programArgc, programArgv.data());
    }

    CTempDir home;
    qputenv("HOME", QByteArray::fromStdString(home.Path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home / ".config"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CZeltoAppTest test(home.Path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_zeltoapp.moc"
