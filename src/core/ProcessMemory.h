#pragma once

// How the process keeps memory it has freed.
namespace ProcessMemory {

// Every exchange with the shop allocates and frees blocks the size of its answer (the
// archive, its text, the parsed document). The C library hands such blocks back to the
// system at once, and the next answer has the same pages faulted in again: in a large
// download that cost about a third of the processor time. From this call on, freed memory
// up to a few tens of megabytes is kept for reuse. Called first thing by each program.
void keepFreedBlocks();

} // namespace ProcessMemory
