#include "BuildVersion.h"

namespace
{
#ifdef ZELTO_DEBUG_BUILD
constexpr bool kDebugBuild = true;
#else
constexpr bool kDebugBuild = false;
#endif
} // namespace

std::optional<CBuildVersion> CBuildVersion::Current()
{
#ifdef ZELTO_VERSION_MAJOR
    // A part the project version leaves out is defined empty and counts as 0.
    return CBuildVersion(ZELTO_VERSION_MAJOR + 0u, ZELTO_VERSION_MINOR + 0u,
                         ZELTO_VERSION_PATCH + 0u, ZELTO_VERSION_TWEAK + 0u, kDebugBuild);
#else
    return std::nullopt;
#endif
}

std::string CBuildVersion::Text(const std::optional<CBuildVersion>& version)
{
    if (!version)
        return "No version information";
    std::string text = "Version " + std::to_string(version->Major()) + "." +
                       std::to_string(version->Minor()) + "." + std::to_string(version->Patch()) +
                       "." + std::to_string(version->Tweak());
    if (version->IsDebug())
        text += " - debug build";
    return text;
}
