// SPDX-License-Identifier: GPL-3.0-or-later
#include "TipsFile.h"

#include "MessageBox.h"
#include "Prompts.h"
#include "platform/FileProbe.h"
#include "platform/MessageTable.h"
#include "platform/Settings.h"

#include <cctype>
#include <climits>
#include <ctime>
#include <optional>
#include <sys/stat.h>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace
{
int FileDescriptor(std::FILE* file)
{
#ifdef _WIN32
    return _fileno(file);
#else
    return fileno(file);
#endif
}

bool IsSkipped(char first)
{
    // '\r' is the empty line of a file written with CRLF line ends: the
    // file is read as bytes, on Windows too.
    return first == ' ' || first == '\t' || first == '\n' || first == '\r' || first == ';';
}

std::string TipText(const char* piece)
{
    std::string text(piece);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.erase(text.size() - 2, 1);
    return text;
}

std::optional<std::time_t> BirthTime([[maybe_unused]] int fd)
{
#if defined(__linux__) && defined(STATX_BTIME)
    struct statx status = {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &status) == 0 &&
        (status.stx_mask & STATX_BTIME) != 0)
        return static_cast<std::time_t>(status.stx_btime.tv_sec);
#endif
    return std::nullopt;
}

// On Windows st_ctime is the creation time; elsewhere it is the time of
// the last status change, the nearest thing when no birth time is kept.
std::optional<std::time_t> StatusTime(int fd)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return std::nullopt;
    return status.st_ctime;
}

bool IsRegularFile(std::FILE* file)
{
    struct stat status = {};
    return ::fstat(FileDescriptor(file), &status) == 0 && (status.st_mode & S_IFMT) == S_IFREG;
}
} // namespace

CTipsFile::CTipsFile(const std::string& path, CSettings& settings, CPrompts& prompts)
    : m_settings(settings), m_prompts(prompts)
{
    Open(path);
    if (!m_pFile)
    {
        m_strFirstText = CMessageTable::Text(EMessageId::TipsFileMissing);
        return;
    }
    if (SeekTo(StartPosition()))
        m_strFirstText = ReadNextTip();
}

CTipsFile::~CTipsFile()
{
    if (!m_pFile)
        return;
    long position = Position();
    if (position >= 0)
        m_settings.SetInt(kSection, kFilePosValue,
                          static_cast<int>(position > INT_MAX ? INT_MAX : position));
}

void CTipsFile::Open(const std::string& path)
{
    m_pFile.reset(CFileProbe::OpenForReading(path));
    // A folder opens on some systems but never gives a line; it is no
    // tips file.
    if (m_pFile && !IsRegularFile(m_pFile.get()))
        m_pFile.reset();
}

long CTipsFile::StartPosition()
{
    long position = m_settings.GetInt(kSection, kFilePosValue);
    std::string current = FileTimeText(FileDescriptor(m_pFile.get()));
    if (current != m_settings.GetString(kSection, kTimeStampValue))
    {
        position = 0;
        m_settings.SetString(kSection, kTimeStampValue, current);
    }
    return position;
}

bool CTipsFile::SeekTo(long position)
{
    if (std::fseek(m_pFile.get(), position, SEEK_SET) == 0)
        return true;
    m_prompts.ShowMessage(CMessageBox(EMessageStyle::Plain, EMessageId::TipsFileUnreadable));
    return false;
}

bool CTipsFile::Rewind()
{
    std::clearerr(m_pFile.get());
    return SeekTo(0);
}

std::string CTipsFile::ReadNextTip()
{
    if (!m_pFile)
        return m_strFirstText;
    char piece[kMaxPiece + 1];
    // Reaching the end after the whole file has been read once in this
    // search means there is no tip in it at all.
    bool wholeFileSeen = Position() == 0;
    for (;;)
    {
        if (std::fgets(piece, sizeof piece, m_pFile.get()))
        {
            if (!IsSkipped(piece[0]))
                return TipText(piece);
            continue;
        }
        if (wholeFileSeen || !Rewind())
            return NoTipText();
        wholeFileSeen = true;
    }
}

long CTipsFile::Position() const
{
    return m_pFile ? std::ftell(m_pFile.get()) : -1;
}

std::string CTipsFile::NoTipText() const
{
    return std::string(CMessageTable::Text(EMessageId::TipsFileUnreadable));
}

std::string CTipsFile::FileTimeText(int fd)
{
    std::optional<std::time_t> when = BirthTime(fd);
    if (!when)
        when = StatusTime(fd);
    const char* text = when ? std::ctime(&*when) : nullptr;
    if (!text)
        return std::string();
    std::string result(text);
    while (!result.empty() && std::isspace(static_cast<unsigned char>(result.back())))
        result.pop_back();
    return result;
}

bool CTipsFile::ShowAtStartup(const CSettings& settings)
{
    return settings.GetInt(kSection, kStartUpValue) == 0;
}

void CTipsFile::StoreShowAtStartup(CSettings& settings, bool show)
{
    settings.SetInt(kSection, kStartUpValue, show ? 0 : 1);
}
