// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Executables.h"

#include "WideText.h"

#include <algorithm>
#include <windows.h>

namespace
{
bool HasFolderPart(const std::string& name)
{
    return name.find_first_of("/\\:") != std::string::npos;
}

bool HasExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    size_t folderEnd = name.find_last_of("/\\:");
    return dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring SearchPath()
{
    DWORD size = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(L"PATH", value.data(), size));
    return value;
}
} // namespace

// The command prompt's way for a name without a folder: along PATH, with
// ".exe" added when the name has no extension.
int CExecutables::Find(const std::string& name, std::string& found)
{
    std::string withExtension = HasExtension(name) ? name : name + ".exe";
    if (HasFolderPart(name))
    {
        found = withExtension;
        return 0;
    }
    std::wstring file = CWideText::FromUtf8(withExtension);
    std::wstring searchPath = SearchPath();
    size_t start = 0;
    while (start <= searchPath.size())
    {
        size_t end = std::min(searchPath.find(L';', start), searchPath.size());
        std::wstring folder = searchPath.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
        {
            if (folder.back() != L'\\' && folder.back() != L'/')
                folder += L'\\';
            if (IsFile(folder + file))
            {
                found = CWideText::ToUtf8(folder + file);
                return 0;
            }
        }
        start = end + 1;
    }
    return ERROR_FILE_NOT_FOUND;
}
