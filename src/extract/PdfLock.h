// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a PDF was locked with a password, and what the passwords tried
// made of it. A PDF that only restricts copying or printing opens without
// one and is not locked.
enum class EPdfLock
{
    Open,          // not locked
    Unlocked,      // locked, and one of the passwords given opened it
    NeedsPassword, // locked, and no password was given
    WrongPassword  // locked, and none of the passwords given opened it
};
