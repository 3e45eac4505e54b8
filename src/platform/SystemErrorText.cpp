// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemErrorText.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <type_traits>

#ifdef _WIN32
#include "win32/WideText.h"

#include <windows.h>

std::string CSystemErrorText::Describe(int errorCode)
{
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (buffer)
    {
        text = CWideText::ToUtf8(buffer, length);
        ::LocalFree(buffer);
    }
    // The system's texts end with a line break of their own.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Unknown error " + std::to_string(errorCode);
    return text + "\n";
}
#else
std::string CSystemErrorText::Describe(int errorCode)
{
    char buffer[256] = {};
    // The GNU strerror_r may return a static string instead of filling the
    // buffer; the XSI one fills it. Both forms are handled.
    auto result = strerror_r(errorCode, buffer, sizeof buffer);
    std::string text;
    if constexpr (std::is_same_v<decltype(result), char*>)
        text = result ? result : "";
    else
        text = result == 0 ? buffer : "";
    if (text.empty())
        text = "Unknown error " + std::to_string(errorCode);
    return text + "\n";
}
#endif

std::string CSystemErrorText::Describe(const std::error_code& code)
{
    if (code.category() == std::system_category())
        return Describe(code.value());
    std::string text = code.message();
    if (text.empty())
        text = "Unknown error " + std::to_string(code.value());
    return text + "\n";
}

int CSystemErrorText::OutOfMemoryCode()
{
#ifdef _WIN32
    return ERROR_NOT_ENOUGH_MEMORY;
#else
    return ENOMEM;
#endif
}

int CSystemErrorText::CancelledCode()
{
#ifdef _WIN32
    return ERROR_CANCELLED;
#else
    return ECANCELED;
#endif
}

std::string CSystemErrorText::DescribeSignal(int signal)
{
#ifdef _WIN32
    (void)signal;
    return std::string();
#else
    // Called on the user's thread only, so the shared buffer of strsignal
    // is not raced.
    const char* name = ::strsignal(signal);
    return name ? name : std::string();
#endif
}
