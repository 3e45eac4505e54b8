// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"
#include "extract/ConverterTable.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class CAutomationService;
class CConverterContext;
class CHelpLauncher;
class CMainFrame;
class CQtPrompts;
class CQtSettings;
class CTerminationSignals;
class CZeltoDoc;

// The application object: it owns the converter table, brings up the
// settings, the help, the document and the main window in order, routes the
// Help, About and Tip of the Day commands, and stands in for the program on
// the session bus when started for automation.
class CZeltoApp : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kDesktopFileName = "zelto-extractor";

    // `executablePath` is the program file, whose folder holds (or leads to)
    // the tips and the help; empty means this process's own file.
    explicit CZeltoApp(std::string executablePath = {});
    ~CZeltoApp() override;

    // The whole life of the program: the window system, start-up, the event
    // loop. Returns the process's exit status.
    static int Run(int& argc, char** argv);

    // Names the running application after the program and gives its
    // windows the program's icon.
    static void SetUpApplication();

    // Start-up once the window system is up. True lets the event loop run;
    // false ends the program at once with ExitCode().
    bool InitInstance(const CCommandLine& commandLine);
    // After the event loop, with its result.
    int ExitInstance(int loopResult);
    int ExitCode() const { return m_nExitCode; }

    // The Tip of the Day as start-up offers it.
    void RunStartupTip();

    // The commands the application handles.
    void OnShowTip();
    void OnAboutBox();
    void OnHelp();

    CConverterTable& Converters() { return m_converters; }
    const std::string& ProgramFolder() const { return m_strProgramFolder; }
    bool HelpFileExists() const { return m_bHelpFileExists; }
    CHelpLauncher* Help() const { return m_pHelp.get(); }
    CQtSettings* Settings() const { return m_pSettings.get(); }
    CZeltoDoc* Document() const { return m_pDoc.get(); }
    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    CAutomationService* Automation() const { return m_pAutomation.get(); }

private:
    bool StartForAutomation();
    void CreateMainWindow();
    void ConnectCommands();
    void AddCommandLinePaths();
    std::string TipsFilePath() const;
    void RunCommand(const char* name, const std::function<void()>& command);

    std::shared_ptr<CConverterContext> m_pContext;
    CConverterTable m_converters;
    std::string m_strExecutablePath;
    std::string m_strProgramFolder;
    bool m_bHelpFileExists = false;
    CCommandLine m_commandLine;
    int m_nExitCode = 0;

    // In the order of their making; each goes before what it uses.
    std::unique_ptr<CQtSettings> m_pSettings;
    std::unique_ptr<CQtPrompts> m_pPrompts;
    std::unique_ptr<CHelpLauncher> m_pHelp;
    std::unique_ptr<CZeltoDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CAutomationService> m_pAutomation;
    std::unique_ptr<CTerminationSignals> m_pTermination;
};
