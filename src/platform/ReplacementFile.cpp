// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplacementFile.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

namespace
{
constexpr std::string_view kMarker = ".zelto-";
constexpr std::string_view kEnding = ".tmp";
} // namespace

// ".doc.txt.zelto-0123456789abcdef.tmp": hidden, known for ours by its
// marker and ending, and never taken for a PDF by a later add.
std::string CReplacementFile::TemporaryName(const std::string& fileName)
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    char number[17];
    std::snprintf(number, sizeof number, "%016llx", static_cast<unsigned long long>(random()));
    return "." + fileName + std::string(kMarker) + number + std::string(kEnding);
}

int CReplacementFile::MakeFolders(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(std::u8string(folder.begin(), folder.end())), error);
    return error.value();
}

bool CReplacementFile::IsTemporaryName(const std::string& name)
{
    std::string_view view(name);
    return view.size() > kMarker.size() + kEnding.size() + 1 && view.front() == '.' &&
           view.find(kMarker) != std::string_view::npos && view.ends_with(kEnding);
}
