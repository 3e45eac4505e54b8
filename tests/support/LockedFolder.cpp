// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockedFolder.h"

#ifdef _WIN32
#include <stdexcept>

// Windows keeps rights in access lists, which Wine does not enforce; tests
// that lock a folder are skipped there before they get here.
CLockedFolder::CLockedFolder(std::string folder, std::filesystem::perms)
    : m_strFolder(std::move(folder))
{
    throw std::logic_error("folders are not locked on Windows: " + m_strFolder);
}

CLockedFolder::~CLockedFolder() = default;
#else
#include <cstddef>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace
{
using CCapData = std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>;

// Capabilities are set per thread by the system call itself; the C library
// would pass a change of user on to every thread, which is why that is not
// used here.
bool GetCaps(CCapData& data)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data.data()) == 0;
}

bool SetCaps(CCapData data)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data.data()) == 0;
}
} // namespace

CLockedFolder::CLockedFolder(std::string folder, std::filesystem::perms perms)
    : m_strFolder(std::move(folder))
{
    std::filesystem::permissions(m_strFolder, perms);
    CCapData caps{};
    if (!GetCaps(caps))
        throw std::runtime_error("cannot read the thread's capabilities");
    for (std::size_t i = 0; i < caps.size(); ++i)
        m_savedEffective[i] = caps[i].effective;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        caps[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
    if (!SetCaps(caps))
        throw std::runtime_error("cannot lower the thread's capabilities");
}

// Raising what the thread still holds as permitted cannot fail.
CLockedFolder::~CLockedFolder()
{
    CCapData caps{};
    if (GetCaps(caps))
    {
        for (std::size_t i = 0; i < caps.size(); ++i)
            caps[i].effective = m_savedEffective[i];
        SetCaps(caps);
    }
    std::error_code ignored;
    std::filesystem::permissions(m_strFolder, std::filesystem::perms::owner_all, ignored);
}
#endif
