// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

namespace
{
// The long form of a full path, "\\?\C:\...", which every call takes
// whatever its length: std::filesystem's removal, on the C runtime's
// 260-character calls, can list the wrong folder past that length and then
// never end.
std::wstring LongForm(const std::filesystem::path& path)
{
    std::wstring text = path.wstring();
    std::replace(text.begin(), text.end(), L'/', L'\\');
    return L"\\\\?\\" + text;
}

// A junction or link inside is removed, never what it leads to.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            DWORD attributes = found.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW(path.c_str());
            else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                ::RemoveDirectoryW(path.c_str());
            else
                RemoveTree(path);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::string MakeTempFolder()
{
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::filesystem::path folder = base / ("zelto-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder))
        {
            std::u8string name = folder.generic_u8string();
            return std::string(name.begin(), name.end());
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}
} // namespace
#else
namespace
{
std::string MakeTempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zelto-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}
} // namespace
#endif

CTempDir::CTempDir() : m_strPath(MakeTempFolder()) {}

CTempDir::~CTempDir()
{
#ifdef _WIN32
    RemoveTree(LongForm(FsPath(m_strPath)));
#else
    std::error_code ignored;
    std::filesystem::remove_all(FsPath(m_strPath), ignored);
#endif
}

std::string CTempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::filesystem::path path = FsPath(*this / name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + (*this / name));
    return *this / name;
}

std::string CTempDir::MakeFolder(const std::string& name) const
{
    std::string path = *this / name;
    std::filesystem::create_directories(FsPath(path));
    return path;
}

std::string CTempDir::ReadFile(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::filesystem::path CTempDir::FsPath(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
