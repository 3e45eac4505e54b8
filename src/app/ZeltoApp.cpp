// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZeltoApp.h"

#include "AutomationService.h"
#include "DataFiles.h"
#include "HelpLauncher.h"
#include "PlatformStart.h"
#include "TerminationSignals.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/IconSet.h"
#include "dialogs/QtText.h"
#include "dialogs/TipDlg.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/WorkerPool.h"
#include "platform/MessageTable.h"
#include "ui/MainFrame.h"
#include "ui/QtPrompts.h"
#include "ui/QtSettings.h"

#include <QApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

namespace
{
void Note(const std::string& text)
{
    std::string line = "zelto-extractor: " + text + "\n";
    std::fputs(line.c_str(), stderr);
}

std::string FolderOf(const std::string& file)
{
    return CDataFiles::WithTrailingSeparator(std::filesystem::path(file).parent_path().string());
}

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

// Said at once on standard error: the list itself passes over paths that do
// not exist without a word, as it does for a drop.
void ReportCommandLine(const CCommandLine& commandLine)
{
    for (const std::string& note : commandLine.Notes())
        Note(note);
    if (commandLine.RunsForAutomation())
        return;
    for (const std::string& path : commandLine.Paths())
    {
        if (!Exists(path))
            Note("'" + path + "' does not exist");
    }
}
} // namespace

CZeltoApp::CZeltoApp(std::string executablePath)
    : m_pContext(std::make_shared<CConverterContext>()), m_converters(m_pContext),
      m_strExecutablePath(std::move(executablePath))
{
}

CZeltoApp::~CZeltoApp() = default;

int CZeltoApp::Run(int& argc, char** argv)
{
    std::unique_ptr<QApplication> application = CPlatformStart::Start(argc, argv);
    // Qt has taken its own options out of the arguments by now.
    CCommandLine commandLine = CCommandLine::FromProcess(argc, argv);
    ReportCommandLine(commandLine);

    CZeltoApp app;
    if (!app.InitInstance(commandLine))
        return app.ExitCode();
    return app.ExitInstance(QApplication::exec());
}

void CZeltoApp::SetUpApplication()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(CQtSettings::kOrganization));
    QCoreApplication::setApplicationName(CQtText::Message(EMessageId::AppTitle));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4")
                                                .arg(ZELTO_VERSION_MAJOR)
                                                .arg(ZELTO_VERSION_MINOR)
                                                .arg(ZELTO_VERSION_PATCH)
                                                .arg(ZELTO_VERSION_TWEAK));
    // Ties the windows to the desktop entry, whose icon and name the
    // desktop then shows for them.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(CIconSet::Icon(CIconSet::EIcon::Application));
}

bool CZeltoApp::InitInstance(const CCommandLine& commandLine)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    {
        Note(std::string(CMessageTable::Text(EMessageId::OleInitFailed)));
        m_nExitCode = CPlatformStart::kFailureStatus;
        return false;
    }
    SetUpApplication();
    if (m_strExecutablePath.empty())
        m_strExecutablePath = CQtText::ToPath(QCoreApplication::applicationFilePath());

    m_pSettings = std::make_unique<CQtSettings>();
    m_pPrompts = std::make_unique<CQtPrompts>();
    // Whether the help is there is decided here, once.
    m_pHelp = std::make_unique<CHelpLauncher>(
        CDataFiles::FindHelpFile(FolderOf(m_strExecutablePath)), *m_pPrompts);
    m_bHelpFileExists = m_pHelp->HelpFileExists();

    m_commandLine = commandLine;
    if (m_commandLine.RunsForAutomation())
        return StartForAutomation();

    CreateMainWindow();
    m_pFrame->show();
    m_strProgramFolder = FolderOf(m_strExecutablePath);
    m_pContext->SetProgramFolder(m_strProgramFolder);
    if (std::string worker = CWorkerPool::FindWorker(m_strProgramFolder); !worker.empty())
        m_pContext->SetWorkers(std::make_shared<CWorkerPool>(worker));
    RunStartupTip();
    AddCommandLinePaths();
    return true;
}

// Nothing is shown and the program folder stays unset: the program only
// holds its place on the bus until it is told to end or the bus goes.
bool CZeltoApp::StartForAutomation()
{
    // Signals are caught before the name is taken: a client may ask the
    // program to end as soon as it sees the name.
    m_pTermination = std::make_unique<CTerminationSignals>();
    connect(m_pTermination.get(), &CTerminationSignals::Received, qApp, &QCoreApplication::quit);
    m_pAutomation = std::make_unique<CAutomationService>();
    if (!m_pAutomation->Register())
    {
        Note("cannot start for automation: " + CQtText::ToText(m_pAutomation->ErrorText()));
        m_pAutomation.reset();
        m_pTermination.reset();
        m_nExitCode = CPlatformStart::kFailureStatus;
        return false;
    }
    connect(m_pAutomation.get(), &CAutomationService::Ended, qApp, &QCoreApplication::quit);
    return true;
}

void CZeltoApp::CreateMainWindow()
{
    m_pDoc = std::make_unique<CZeltoDoc>(m_converters, *m_pPrompts, *m_pPrompts, *m_pSettings);
    m_pFrame = std::make_unique<CMainFrame>(*m_pDoc, *m_pPrompts, *m_pPrompts, *m_pSettings);
    m_pPrompts->SetParentWindow(m_pFrame.get());
    ConnectCommands();
    m_pFrame->RestorePlacement();
}

void CZeltoApp::ConnectCommands()
{
    connect(m_pFrame.get(), &CMainFrame::HelpRequested, this, &CZeltoApp::OnHelp);
    connect(m_pFrame.get(), &CMainFrame::AboutRequested, this, &CZeltoApp::OnAboutBox);
    connect(m_pFrame.get(), &CMainFrame::TipRequested, this, &CZeltoApp::OnShowTip);
}

// Files and folders named on the command line (a file manager's "Open
// With") are added as a drop would add them, once the event loop runs and
// the window has been drawn.
void CZeltoApp::AddCommandLinePaths()
{
    const std::vector<std::string>& paths = m_commandLine.Paths();
    if (paths.empty())
        return;
    CMainFrame* frame = m_pFrame.get();
    QMetaObject::invokeMethod(
        frame, [frame, paths] { frame->AddDroppedPaths(paths); }, Qt::QueuedConnection);
}

int CZeltoApp::ExitInstance(int loopResult)
{
    m_pFrame.reset();
    m_pDoc.reset();
    m_pTermination.reset();
    m_pAutomation.reset();
    return loopResult;
}

void CZeltoApp::RunStartupTip()
{
    if (!m_commandLine.ShowSplash())
        return;
    RunCommand("the Tip of the Day",
               [this] {
                   CTipDlg::RunAtStartup(TipsFilePath(), *m_pSettings, *m_pPrompts, m_pFrame.get());
               });
}

void CZeltoApp::OnShowTip()
{
    RunCommand("the Tip of the Day",
               [this] {
                   CTipDlg::RunOnDemand(TipsFilePath(), *m_pSettings, *m_pPrompts, m_pFrame.get());
               });
}

void CZeltoApp::OnAboutBox()
{
    RunCommand("the About box",
               [this]
               {
                   CAboutDlg dialog(m_pFrame.get());
                   dialog.exec();
               });
}

void CZeltoApp::OnHelp()
{
    RunCommand("the help", [this] { m_pHelp->ShowHelp(); });
}

std::string CZeltoApp::TipsFilePath() const
{
    return CDataFiles::FindTipsFile(m_strProgramFolder);
}

// Nothing may leave a Qt slot; a command that fails is given up and the
// program goes on.
void CZeltoApp::RunCommand(const char* name, const std::function<void()>& command)
{
    try
    {
        command();
    }
    catch (const std::exception& error)
    {
        Note(std::string("could not show ") + name + ": " + error.what());
    }
    catch (...)
    {
        Note(std::string("could not show ") + name);
    }
}
