// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeReader.h"

#include <atomic>
#include <string>
#include <utility>

namespace
{
// What a pipe holds before its writer waits.
constexpr DWORD kPipeBufferSize = 65536;
} // namespace

CPipeReader::CPipeReader(std::size_t chunkSize) : m_buffer(chunkSize) {}

// A read under way would go on writing into the buffer.
CPipeReader::~CPipeReader()
{
    if (!m_bPending)
        return;
    DWORD ignored = 0;
    ::CancelIoEx(m_ownEnd.Get(), &m_overlapped);
    ::GetOverlappedResult(m_ownEnd.Get(), &m_overlapped, &ignored, TRUE);
}

DWORD CPipeReader::Open()
{
    static std::atomic<unsigned> s_nPipes{0};
    std::wstring name = L"\\\\.\\pipe\\zelto-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++s_nPipes);
    m_ownEnd.Reset(::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, kPipeBufferSize, 0,
        nullptr));
    if (!m_ownEnd.IsValid())
        return ::GetLastError();
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    m_childEnd.Reset(::CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                                   &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!m_childEnd.IsValid())
        return ::GetLastError();
    m_event.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_event.IsValid())
        return ::GetLastError();
    m_overlapped.hEvent = m_event.Get();
    return 0;
}

HANDLE CPipeReader::Request()
{
    if (m_bPending)
        return m_event.Get();
    m_bPending = true;
    if (::ReadFile(m_ownEnd.Get(), m_buffer.data(), static_cast<DWORD>(m_buffer.size()), nullptr,
                   &m_overlapped))
        ::SetEvent(m_event.Get());
    else if (DWORD error = ::GetLastError(); error != ERROR_IO_PENDING)
    {
        m_bPending = false;
        m_nFailure = error;
        ::SetEvent(m_event.Get());
    }
    return m_event.Get();
}

DWORD CPipeReader::Take(std::string_view& bytes)
{
    DWORD count = 0;
    DWORD error = std::exchange(m_nFailure, 0);
    if (m_bPending && !::GetOverlappedResult(m_ownEnd.Get(), &m_overlapped, &count, FALSE))
        error = ::GetLastError();
    m_bPending = false;
    if (error == ERROR_BROKEN_PIPE)
    {
        m_ownEnd.Close();
        error = 0;
        count = 0;
    }
    bytes = std::string_view(m_buffer.data(), error == 0 ? count : 0);
    return error;
}
