// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes. On Windows its path uses '/', as paths
// handed over by the Qt layer do.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    // The path of an entry inside the folder.
    std::string operator/(const std::string& name) const { return m_strPath + "/" + name; }

    // Writes a file (creating its folders) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string MakeFolder(const std::string& name) const;

    static std::string ReadFile(const std::string& path);
    // The file system's path for a UTF-8 one: a plain std::string would be
    // read in the ANSI code page on Windows.
    static std::filesystem::path FsPath(const std::string& path);

private:
    std::string m_strPath;
};
