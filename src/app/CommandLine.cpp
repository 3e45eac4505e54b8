// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace
{
constexpr const char* kEmbedding = "Embedding";
constexpr const char* kAutomation = "Automation";
constexpr const char* kEndOfOptions = "--";

bool EqualIgnoringCase(const std::string& left, const std::string& right)
{
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b)
                      {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool IsSeparator(char c)
{
    return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

// A folder named with a trailing separator is the same folder; without it
// the names of its files are not doubled up with "//".
std::string WithoutTrailingSeparators(std::string path)
{
    std::filesystem::path root = std::filesystem::path(path).root_path();
    while (path.size() > root.string().size() && IsSeparator(path.back()))
        path.pop_back();
    return path;
}
} // namespace

CCommandLine CCommandLine::Parse(const std::vector<std::string>& arguments,
                                 const std::string& currentFolder)
{
    CCommandLine commandLine;
    bool bOptionsEnded = false;
    for (const std::string& argument : arguments)
        commandLine.TakeArgument(argument, currentFolder, bOptionsEnded);
    return commandLine;
}

CCommandLine CCommandLine::FromProcess(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    return Parse(arguments, error ? std::string() : current.string());
}

void CCommandLine::TakeArgument(const std::string& argument, const std::string& currentFolder,
                                bool& bOptionsEnded)
{
    // An empty argument names nothing; taken as a path it would become the
    // current folder and add all of it.
    if (argument.empty())
        return;
    if (!bOptionsEnded)
    {
        if (argument == kEndOfOptions)
        {
            bOptionsEnded = true;
            return;
        }
        if (IsSwitch(argument, kEmbedding))
        {
            m_bRunEmbedded = true;
            return;
        }
        if (IsSwitch(argument, kAutomation))
        {
            m_bRunAutomated = true;
            return;
        }
        if (argument.front() == '-')
        {
            m_unknownOptions.push_back(argument);
            return;
        }
    }
    m_paths.push_back(AbsolutePath(argument, currentFolder));
}

// "/" introduces a switch as well as "-", but only for the program's own
// switch names: everything else beginning with "/" is an absolute path.
bool CCommandLine::IsSwitch(const std::string& argument, const std::string& name)
{
    if (argument.size() != name.size() + 1 || (argument.front() != '-' && argument.front() != '/'))
        return false;
    return EqualIgnoringCase(argument.substr(1), name);
}

std::string CCommandLine::AbsolutePath(const std::string& path, const std::string& currentFolder)
{
    std::filesystem::path full(path);
    if (full.is_relative() && !currentFolder.empty())
        full = std::filesystem::path(currentFolder) / full;
    return WithoutTrailingSeparators(full.lexically_normal().string());
}

std::vector<std::string> CCommandLine::Notes() const
{
    std::vector<std::string> notes;
    for (const std::string& option : m_unknownOptions)
        notes.push_back("unknown option '" + option + "' ignored");
    if (RunsForAutomation() && !m_paths.empty())
        notes.push_back("files named on the command line are not added when started for "
                        "automation");
    return notes;
}
