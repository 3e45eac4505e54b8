#include "SystemErrorText.h"

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
