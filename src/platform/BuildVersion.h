// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The version this build was made as, from the build's compile definitions
// ZELTO_VERSION_MAJOR/MINOR/PATCH/TWEAK and ZELTO_DEBUG_BUILD.
class CBuildVersion
{
public:
    CBuildVersion(unsigned major, unsigned minor, unsigned patch, unsigned tweak, bool debug)
        : m_nMajor(major), m_nMinor(minor), m_nPatch(patch), m_nTweak(tweak), m_bDebug(debug)
    {
    }

    // Nothing when the build was given no version.
    static std::optional<CBuildVersion> Current();

    // "Version 1.2.3.4", with " - debug build" after it for a debug build;
    // "No version information" when there is no version.
    static std::string Text(const std::optional<CBuildVersion>& version);

    unsigned Major() const { return m_nMajor; }
    unsigned Minor() const { return m_nMinor; }
    unsigned Patch() const { return m_nPatch; }
    unsigned Tweak() const { return m_nTweak; }
    bool IsDebug() const { return m_bDebug; }

private:
    unsigned m_nMajor;
    unsigned m_nMinor;
    unsigned m_nPatch;
    unsigned m_nTweak;
    bool m_bDebug;
};
