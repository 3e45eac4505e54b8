// SPDX-License-Identifier: GPL-3.0-or-later
#include "Executables.h"

#include "FileProbe.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

bool CExecutables::IsOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, kPathListSeparator))
    {
        std::error_code error;
        std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (std::filesystem::is_regular_file(candidate, error))
            return true;
    }
    return false;
}

std::string CExecutables::FindWorker(const std::string& programFolder)
{
    std::string folder = programFolder.empty() ? std::string(".") : programFolder;
    // Some callers give the folder with its separator at the end.
    if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    for (std::string candidate :
         {folder + "/" + kWorker, folder + "/../libexec/zelto-extractor/" + kWorker})
    {
        if (CFileProbe::Exists(candidate) && !CFileProbe::IsFolder(candidate))
            return candidate;
    }
    return {};
}
