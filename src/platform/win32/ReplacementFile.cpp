// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReplacementFile.h"

#include "WideText.h"
#include "platform/FileProbe.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <windows.h>

namespace
{
constexpr int kNameAttempts = 16;

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// Where the file's name starts: after the last separator, or after the
// colon of a drive-relative path such as "C:doc.txt".
std::size_t NameStart(const std::string& path)
{
    std::size_t last = path.find_last_of("\\/:");
    return last == std::string::npos ? 0 : last + 1;
}

// The path for the system's calls, with backslashes only: Wine's
// ReplaceFileW finds the folder by them.
std::wstring SystemPath(const std::string& path)
{
    std::wstring wide = CWideText::FromUtf8(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

// The temporary is hidden only while it is one: MoveFileExW keeps a file's
// attributes, and so does ReplaceFileW under Wine, where it is a rename.
// Returns 0 or the system's error number.
DWORD Unhide(HANDLE file)
{
    FILE_BASIC_INFO basic = {};
    if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return ::GetLastError();
    // Times left at zero stay as they are.
    FILE_BASIC_INFO change = {};
    change.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_HIDDEN;
    if (change.FileAttributes == 0)
        change.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(file, FileBasicInfo, &change, sizeof change))
        return ::GetLastError();
    return 0;
}

// Failures of ReplaceFileW after which a plain rename still does the job:
// the file was already gone, or the file system cannot merge the old
// file's attributes and security.
bool MoveMayStillDo(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION;
}

// The old file can be moved aside unless another program holds it open
// without shared deletion. Asked first, as ReplaceFileW would report that
// as ERROR_UNABLE_TO_REMOVE_REPLACED rather than the sharing violation it
// is, and Wine's would leave a file of its own behind. Returns 0 or the
// system's error number.
DWORD CheckMovable(const std::wstring& path)
{
    HANDLE file =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(file);
    return 0;
}

DWORD Replace(const std::wstring& temporary, const std::wstring& target)
{
    if (DWORD error = CheckMovable(target))
        return error;
    if (!::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr))
        return ::GetLastError();
    return 0;
}

// An existing file is replaced with ReplaceFileW, so that it keeps its
// attributes and security; a folder is left to MoveFileExW to refuse, as
// Wine's ReplaceFileW would move it aside. A link at the path is replaced
// itself, not the file it names: unlike on Linux, following it could lead
// to another volume, which no rename reaches. Returns 0 or the system's
// error number.
DWORD PutInPlace(const std::wstring& temporary, const std::wstring& target)
{
    DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    {
        DWORD error = Replace(temporary, target);
        if (error == 0 || !MoveMayStillDo(error))
            return error;
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return ::GetLastError();
    return 0;
}
} // namespace

struct CReplacementFile::CSystemState
{
    HANDLE hFile = INVALID_HANDLE_VALUE;
    // The temporary's path while it holds contents not put in place.
    std::wstring temporary;

    ~CSystemState()
    {
        Close();
        if (!temporary.empty())
            ::DeleteFileW(temporary.c_str());
    }

    void Close()
    {
        if (hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(hFile, INVALID_HANDLE_VALUE));
    }

    // Creates a hidden temporary beside the file. Others may read it but not
    // delete it while it is open, so that a leftover sweep passes over it.
    DWORD Create(const std::string& path)
    {
        std::size_t nameStart = NameStart(path);
        DWORD error = ERROR_FILE_EXISTS;
        for (int attempt = 0; attempt < kNameAttempts && error == ERROR_FILE_EXISTS; ++attempt)
        {
            std::wstring candidate =
                SystemPath(path.substr(0, nameStart) + TemporaryName(path.substr(nameStart)));
            hFile =
                ::CreateFileW(candidate.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
            if (hFile != INVALID_HANDLE_VALUE)
            {
                temporary = std::move(candidate);
                return 0;
            }
            error = ::GetLastError();
        }
        return error;
    }
};

CReplacementFile::CReplacementFile(std::string path) : m_strPath(std::move(path)) {}

CReplacementFile::~CReplacementFile() = default;

// "C:\" and "\" keep their separator, being roots; a path without a folder
// lies in the current one.
std::string CReplacementFile::Folder() const
{
    std::string folder = m_strPath.substr(0, NameStart(m_strPath));
    if (folder.empty())
        return ".";
    bool root = folder.size() == 1 || folder[folder.size() - 2] == ':';
    if (IsSeparator(folder.back()) && !root)
        folder.pop_back();
    return folder;
}

int CReplacementFile::Open()
{
    m_pState = std::make_unique<CSystemState>();
    return static_cast<int>(m_pState->Create(m_strPath));
}

int CReplacementFile::Write(const char* bytes, std::size_t count)
{
    while (count > 0)
    {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        if (!::WriteFile(m_pState->hFile, bytes, chunk, &written, nullptr))
            return static_cast<int>(::GetLastError());
        bytes += written;
        count -= written;
    }
    return 0;
}

// The temporary's handle is closed first: both ways of putting it in place
// open it again, with deletion, which the handle does not share.
int CReplacementFile::Commit()
{
    CSystemState& state = *m_pState;
    if (DWORD error = Unhide(state.hFile))
        return static_cast<int>(error);
    state.Close();
    if (DWORD error = PutInPlace(state.temporary, SystemPath(m_strPath)))
        return static_cast<int>(error);
    state.temporary.clear();
    return 0;
}

// A temporary still being written cannot be deleted (it is open without
// shared deletion); one left by a killed program can.
void CReplacementFile::RemoveLeftovers(const std::string& folder)
{
    std::vector<std::string> names;
    if (CFileProbe::ListNames(folder, names) != 0)
        return;
    std::string prefix = folder;
    if (prefix.empty() || !IsSeparator(prefix.back()))
        prefix += '\\';
    for (const std::string& name : names)
    {
        if (IsTemporaryName(name))
            ::DeleteFileW(CWideText::FromUtf8(prefix + name).c_str());
    }
}
