// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

// Keeps the calling thread from reading a folder while it lives, also when
// the tests run as root: the folder gets the given permission bits, and the
// thread gives up the capabilities that let root pass them. Other threads
// keep theirs. Both come back when it goes, so the folder can be removed.
class CLockedFolder
{
public:
    explicit CLockedFolder(std::string folder,
                           std::filesystem::perms perms = std::filesystem::perms::none);
    ~CLockedFolder();
    CLockedFolder(const CLockedFolder&) = delete;
    CLockedFolder& operator=(const CLockedFolder&) = delete;

private:
    std::string m_strFolder;
    std::array<std::uint32_t, 2> m_savedEffective{};
};
