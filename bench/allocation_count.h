#pragma once
// Counts the heap allocations a program's own code makes, by pointing its import
// entries for the allocators (HeapAlloc, malloc and their kind) at counting stand-ins.
#include <stdint.h>

void CountAllocations(void);
uint64_t AllocationsSoFar(void);
