// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// What the program was asked to do when it was started. The switches
// "-Embedding", "/Embedding", "-Automation" and "/Automation" (any letter
// case) start it for automation, without a window. Every other argument
// that does not begin with "-" names a file or folder to add once the
// window shows; "--" ends the options, so that a name beginning with "-"
// can follow. Other options are noted and ignored.
class CCommandLine
{
public:
    CCommandLine() = default;

    // `arguments` are the program's arguments without its own name, as the
    // system gave them. Relative paths are taken from `currentFolder`.
    static CCommandLine Parse(const std::vector<std::string>& arguments,
                              const std::string& currentFolder);
    // The arguments of this process (argv[1] onwards), from the current
    // folder.
    static CCommandLine FromProcess(int argc, char** argv);

    bool RunEmbedded() const { return m_bRunEmbedded; }
    bool RunAutomated() const { return m_bRunAutomated; }
    // Started by an automation client: nothing is shown.
    bool RunsForAutomation() const { return m_bRunEmbedded || m_bRunAutomated; }
    // Whether start-up offers the Tip of the Day.
    bool ShowSplash() const { return !RunsForAutomation(); }

    // Absolute paths of the files and folders to add, in the order given.
    const std::vector<std::string>& Paths() const { return m_paths; }
    // Options that mean nothing to the program, as given.
    const std::vector<std::string>& UnknownOptions() const { return m_unknownOptions; }

    // One line for each argument that is not acted on, for standard error.
    std::vector<std::string> Notes() const;

private:
    void TakeArgument(const std::string& argument, const std::string& currentFolder,
                      bool& bOptionsEnded);
    static bool IsSwitch(const std::string& argument, const std::string& name);
    static std::string AbsolutePath(const std::string& path, const std::string& currentFolder);

    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    std::vector<std::string> m_paths;
    std::vector<std::string> m_unknownOptions;
};
