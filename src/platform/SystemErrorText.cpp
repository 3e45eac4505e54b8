#include "SystemErrorText.h"

#include <csignal>
#include <cstring>
#include <type_traits>

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
