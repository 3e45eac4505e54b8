#include "MemoryRelease.h"

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
