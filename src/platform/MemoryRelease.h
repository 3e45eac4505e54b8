// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Hands memory the program has freed back to the system. The C library
// keeps what it frees for later use, and after an add of many files that
// includes everything the add needed only while it ran; without this the
// program would go on occupying it.
class CMemoryRelease
{
public:
    static void ReturnFreeMemory();
};
