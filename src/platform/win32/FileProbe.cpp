// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileProbe.h"

#include "WideText.h"

#include <algorithm>
#include <windows.h>

namespace
{
// Seconds between the file time epoch (1601) and the Unix one (1970).
constexpr std::int64_t kEpochGapSeconds = 11644473600;

class CFileHandle
{
public:
    explicit CFileHandle(HANDLE handle) : m_hFile(handle) {}
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle()
    {
        if (IsOpen())
            ::CloseHandle(m_hFile);
    }

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hFile; }

private:
    HANDLE m_hFile;
};

DWORD Attributes(const std::string& path)
{
    return ::GetFileAttributesW(CWideText::FromUtf8(path).c_str());
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD sharing, DWORD flags = 0)
{
    return ::CreateFileW(CWideText::FromUtf8(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                         flags, nullptr);
}

// Opened files must be files on a disk: no text comes from a device or a
// pipe. A folder fails to open at all without backup semantics.
int CheckIsDiskFile(const CFileHandle& file)
{
    if (!file.IsOpen())
        return static_cast<int>(::GetLastError());
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return ERROR_INVALID_PARAMETER;
    return 0;
}

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

bool IsFullPath(const std::string& path)
{
    bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
    bool share = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return drive || share;
}
} // namespace

bool CFileProbe::Exists(const std::string& path)
{
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool CFileProbe::IsGone(const std::string& path)
{
    return Attributes(path) == INVALID_FILE_ATTRIBUTES &&
           MeansGone(static_cast<int>(::GetLastError()));
}

bool CFileProbe::MeansGone(int errorCode)
{
    return errorCode == ERROR_FILE_NOT_FOUND || errorCode == ERROR_PATH_NOT_FOUND;
}

bool CFileProbe::MeansOutOfMemory(int errorCode)
{
    return errorCode == ERROR_NOT_ENOUGH_MEMORY || errorCode == ERROR_OUTOFMEMORY;
}

bool CFileProbe::IsFolder(const std::string& path)
{
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int CFileProbe::CheckReadable(const std::string& path)
{
    CFileHandle file(OpenFile(path, GENERIC_READ, 0));
    return CheckIsDiskFile(file);
}

std::FILE* CFileProbe::OpenForReading(const std::string& path)
{
    return ::_wfopen(CWideText::FromUtf8(path).c_str(), L"rb");
}

bool CFileProbe::MayBeReadByOthers(std::FILE*)
{
    return false;
}

int CFileProbe::Remove(const std::string& path)
{
    if (!::DeleteFileW(CWideText::FromUtf8(path).c_str()))
        return static_cast<int>(::GetLastError());
    return 0;
}

// Opened only to query it, with every kind of sharing, so that the stamp
// can be taken while the tool writes the file. Backup semantics let a
// folder be opened too; a link or junction is followed to what it names.
std::optional<CFileStamp> CFileProbe::Stamp(const std::string& path)
{
    CFileHandle file(OpenFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              FILE_FLAG_BACKUP_SEMANTICS));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file.IsOpen() || !::GetFileInformationByHandle(file.Get(), &info))
        return std::nullopt;
    CFileStamp stamp;
    stamp.nDevice = info.dwVolumeSerialNumber;
    stamp.nInode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.nSize = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                            info.nFileSizeLow);
    std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    stamp.nModifiedNs = (ticks - kEpochGapSeconds * 10000000) * 100;
    return stamp;
}

int CFileProbe::ListNames(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    std::string pattern = folder;
    if (pattern.empty() || !IsSeparator(pattern.back()))
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileExW(CWideText::FromUtf8(pattern).c_str(), FindExInfoBasic,
                                       &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
    {
        DWORD error = ::GetLastError();
        // An empty drive has not even "." to give.
        return error == ERROR_FILE_NOT_FOUND && IsFolder(folder) ? 0 : static_cast<int>(error);
    }
    do
    {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(CWideText::ToUtf8(name));
    } while (::FindNextFileW(search, &found));
    DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error == ERROR_NO_MORE_FILES)
        return 0;
    names.clear();
    return static_cast<int>(error);
}

// A path like "\docs" or "C:docs" is relative to a drive's current folder,
// which only the full-path call knows.
std::string CFileProbe::AbsolutePath(const std::string& path)
{
    if (path.empty() || IsFullPath(path))
        return path;
    std::wstring wide = CWideText::FromUtf8(path);
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return CWideText::ToUtf8(full);
}

std::string CFileProbe::ProgramFolder()
{
    std::wstring path(32768, L'\0');
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    std::string utf8 = CWideText::ToUtf8(path);
    std::size_t slash = utf8.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : utf8.substr(0, slash);
}
