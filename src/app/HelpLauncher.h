// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class CHelpViewer;
class CPrompts;

// Every help request of the program (Help Topics, F1, a click in What's
// This mode) ends here and gives the same result: the help window at the
// table of contents, or, when the help pages were not found at start-up,
// the HelpFileMissing message naming where they were looked for. Whether the
// pages are there is decided once, when the launcher is made.
class CHelpLauncher
{
public:
    CHelpLauncher(const std::string& helpFilePath, CPrompts& prompts);
    ~CHelpLauncher();
    CHelpLauncher(const CHelpLauncher&) = delete;
    CHelpLauncher& operator=(const CHelpLauncher&) = delete;

    void ShowHelp();

    const std::string& HelpFilePath() const { return m_strHelpFilePath; }
    bool HelpFileExists() const { return m_bHelpFileExists; }
    // The help window, once the first request has made it.
    CHelpViewer* Viewer() const { return m_pViewer.get(); }

private:
    std::string m_strHelpFilePath;
    bool m_bHelpFileExists;
    CPrompts& m_prompts;
    std::unique_ptr<CHelpViewer> m_pViewer;
};
