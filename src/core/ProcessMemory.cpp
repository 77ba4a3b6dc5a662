#include "ProcessMemory.h"

#include <cstdlib> // tells which C library this is
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ProcessMemory {

void keepFreedBlocks()
{
#if defined(__GLIBC__)
    // Blocks below the mapping limit come from the heap, which gives back only what is free
    // beyond the trim limit at its top.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace ProcessMemory
