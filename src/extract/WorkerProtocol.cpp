// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerProtocol.h"

#include <limits>

namespace
{
// The byte of each lock in a Lock frame, in the order of EPdfLock.
constexpr char kLockCodes[] = "OUNW";

void AppendNumber(std::string& to, std::uint32_t number)
{
    for (int shift = 0; shift < 32; shift += 8)
        to += static_cast<char>((number >> shift) & 0xFF);
}

std::uint32_t ReadNumber(std::string_view bytes)
{
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    return number;
}
} // namespace

std::string CWorkerProtocol::Frame(EWorkerFrame kind, std::string_view payload)
{
    std::string frame;
    frame.reserve(kHeaderSize + payload.size());
    frame += static_cast<char>(kind);
    AppendNumber(frame, static_cast<std::uint32_t>(payload.size()));
    frame += payload;
    return frame;
}

std::string CWorkerProtocol::RequestFrame(const std::vector<std::string>& arguments)
{
    std::string payload;
    for (const std::string& argument : arguments)
    {
        payload += argument;
        payload += '\0';
    }
    return Frame(EWorkerFrame::Request, payload);
}

std::vector<std::string> CWorkerProtocol::RequestArguments(std::string_view payload)
{
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < payload.size())
    {
        std::size_t end = payload.find('\0', start);
        if (end == std::string_view::npos)
            end = payload.size();
        arguments.emplace_back(payload.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::string CWorkerProtocol::PasswordsFrame(const std::vector<std::string>& passwords)
{
    std::string frame = RequestFrame(passwords);
    frame[0] = static_cast<char>(EWorkerFrame::Passwords);
    return frame;
}

std::string CWorkerProtocol::LockPayload(EPdfLock lock)
{
    return std::string(1, kLockCodes[static_cast<std::size_t>(lock)]);
}

std::optional<EPdfLock> CWorkerProtocol::Lock(std::string_view payload)
{
    std::string_view codes = kLockCodes;
    std::size_t found = payload.size() == 1 ? codes.find(payload[0]) : std::string_view::npos;
    if (found == std::string_view::npos)
        return std::nullopt;
    return static_cast<EPdfLock>(found);
}

std::string CWorkerProtocol::PagesPayload(const std::vector<int>& pages)
{
    std::string payload;
    payload.reserve(4 * pages.size());
    for (int page : pages)
        AppendNumber(payload, static_cast<std::uint32_t>(page));
    return payload;
}

std::optional<std::vector<int>> CWorkerProtocol::Pages(std::string_view payload)
{
    if (payload.size() % 4 != 0)
        return std::nullopt;
    std::vector<int> pages;
    for (std::size_t at = 0; at < payload.size(); at += 4)
    {
        const std::uint32_t page = ReadNumber(payload.substr(at, 4));
        constexpr auto kLastPage = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
        if (page == 0 || page > kLastPage ||
            (!pages.empty() && page <= static_cast<std::uint32_t>(pages.back())))
            return std::nullopt;
        pages.push_back(static_cast<int>(page));
    }
    return pages;
}

std::string CWorkerProtocol::EndFrame(int exitStatus)
{
    std::string payload;
    AppendNumber(payload, static_cast<std::uint32_t>(exitStatus));
    return Frame(EWorkerFrame::End, payload);
}

int CWorkerProtocol::ExitStatus(std::string_view payload)
{
    if (payload.size() != 4)
        return -1;
    std::uint32_t status = ReadNumber(payload);
    return status > 255 ? -1 : static_cast<int>(status);
}

void CFrameReader::Add(const char* bytes, std::size_t count)
{
    // What was handed out already goes, once it is most of the buffer.
    if (m_nRead > 0 && m_nRead >= m_strBuffer.size() / 2)
    {
        m_strBuffer.erase(0, m_nRead);
        m_nRead = 0;
    }
    m_strBuffer.append(bytes, count);
}

bool CFrameReader::Next(EWorkerFrame& kind, std::string& payload)
{
    std::string_view waiting(m_strBuffer);
    waiting.remove_prefix(m_nRead);
    if (m_bBroken || waiting.size() < CWorkerProtocol::kHeaderSize)
        return false;
    std::uint32_t length = ReadNumber(waiting.substr(1, 4));
    if (length > CWorkerProtocol::kLongestPayload)
    {
        m_bBroken = true;
        return false;
    }
    if (waiting.size() < CWorkerProtocol::kHeaderSize + length)
        return false;
    kind = static_cast<EWorkerFrame>(waiting[0]);
    payload.assign(waiting.substr(CWorkerProtocol::kHeaderSize, length));
    m_nRead += CWorkerProtocol::kHeaderSize + length;
    return true;
}
