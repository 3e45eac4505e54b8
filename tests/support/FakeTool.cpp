// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeTool.h"

#include "platform/Executables.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace
{
#ifdef _WIN32
void SetPath(const std::string& path)
{
    ::SetEnvironmentVariableW(L"PATH", CTempDir::FsPath(path).c_str());
}
#else
void SetPath(const std::string& path)
{
    ::setenv("PATH", path.c_str(), 1);
}
#endif

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(CTempDir::FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void RemoveFile(const std::string& path)
{
    std::filesystem::remove(CTempDir::FsPath(path));
}
} // namespace

CFakeTool::CFakeTool() : m_strOldPath(CScopedPath::Current())
{
    InstallIn(m_bin);
    SetPath(m_bin.Path() + CScopedPath::kListSeparator + m_strOldPath);
}

CFakeTool::~CFakeTool()
{
    SetPath(m_strOldPath);
}

void CFakeTool::InstallIn(const CTempDir& bin)
{
    std::filesystem::copy_file(ZELTO_FAKE_TOOL, CTempDir::FsPath(bin / CExecutables::kPdftotext));
}

void CFakeTool::Script(const std::string& source, const std::string& errorOutput,
                       const std::string* text)
{
    RemoveFile(source + ".stderr");
    RemoveFile(source + ".text");
    if (!errorOutput.empty())
        WriteBytes(source + ".stderr", errorOutput);
    if (text)
        WriteBytes(source + ".text", *text);
}

void CFakeTool::EndWith(const std::string& source, int exitStatus, int signal)
{
    RemoveFile(source + ".status");
    RemoveFile(source + ".signal");
    if (exitStatus != 0)
        WriteBytes(source + ".status", std::to_string(exitStatus));
    if (signal != 0)
        WriteBytes(source + ".signal", std::to_string(signal));
}

std::vector<std::string> CFakeTool::Calls() const
{
    std::istringstream log(CTempDir::ReadFile(m_bin / "calls.log"));
    std::vector<std::string> calls;
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    return calls;
}

std::vector<std::string> CFakeTool::LastArguments() const
{
    std::istringstream log(CTempDir::ReadFile(m_bin / "arguments"));
    std::vector<std::string> arguments;
    for (std::string argument; std::getline(log, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

CScopedPath::CScopedPath(const std::string& path) : m_strOldPath(Current())
{
    SetPath(path);
}

CScopedPath::~CScopedPath()
{
    SetPath(m_strOldPath);
}

std::string CScopedPath::Current()
{
#ifdef _WIN32
    DWORD size = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring value(size, L'\0');
    value.resize(size == 0 ? 0 : ::GetEnvironmentVariableW(L"PATH", value.data(), size));
    std::u8string text = std::filesystem::path(value).u8string();
    return std::string(text.begin(), text.end());
#else
    const char* path = std::getenv("PATH");
    return path ? path : "";
#endif
}

CScopedVariable::CScopedVariable(const char* name, const std::string& value) : m_strName(name)
{
    if (const char* old = std::getenv(name))
        m_strOld = old;
    Set(name, value);
}

CScopedVariable::~CScopedVariable()
{
    Set(m_strName, m_strOld);
}

void CScopedVariable::Set(const std::string& name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1);
#endif
}
