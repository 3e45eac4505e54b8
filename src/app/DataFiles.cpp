// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFiles.h"

#include <filesystem>
#include <system_error>

namespace
{
constexpr const char* kInstalledDataFolder = "../share/zelto-extractor/";

std::string Normal(const std::filesystem::path& path)
{
    return path.lexically_normal().string();
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

bool IsFolder(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}
} // namespace

std::string CDataFiles::WithTrailingSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' &&
        folder.back() != static_cast<char>(std::filesystem::path::preferred_separator))
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
    return folder;
}

std::vector<std::string> CDataFiles::Candidates(const std::string& programFolder,
                                                const std::string& name)
{
    std::filesystem::path folder(programFolder.empty() ? std::string(".") : programFolder);
    return {Normal(folder / name), Normal(folder / kInstalledDataFolder / name)};
}

std::string CDataFiles::Find(const std::string& programFolder, const std::string& name)
{
    std::vector<std::string> candidates = Candidates(programFolder, name);
    for (const std::string& candidate : candidates)
    {
        if (IsRegularFile(candidate))
            return candidate;
    }
    std::filesystem::path folder(programFolder.empty() ? std::string(".") : programFolder);
    if (IsFolder(Normal(folder / kInstalledDataFolder)))
        return candidates.back();
    return candidates.front();
}

std::string CDataFiles::FindTipsFile(const std::string& programFolder)
{
    return Find(programFolder, kTipsFileName);
}

std::string CDataFiles::FindHelpFile(const std::string& programFolder)
{
    return Find(programFolder, kHelpFileName);
}
