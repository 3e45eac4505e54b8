// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryRelease.h"

// Any header of the C library says which library it is.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Elsewhere the system's own heap returns free pages by itself.
void CMemoryRelease::ReturnFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
