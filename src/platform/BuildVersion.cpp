// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuildVersion.h"

#include "platform/MessageTable.h"

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
        return CMessageTable::Format(EMessageId::AboutNoVersion);
    return CMessageTable::Format(
        version->IsDebug() ? EMessageId::AboutDebugVersion : EMessageId::AboutVersion,
        {version->Major(), version->Minor(), version->Patch(), version->Tweak()});
}
