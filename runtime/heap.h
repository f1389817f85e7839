#pragma once
// The program heap: the one place every runtime and library block comes from.
// Destroying it at the end gives back whatever is still allocated.
#include <stddef.h>

int CreateProgramHeap(void);
void DestroyProgramHeap(void);

void* AllocateBlock(size_t size);
void* AllocateZeroedBlock(size_t size);
// Grows or shrinks a block; bytes added at the end are zero. NULL keeps the old block.
void* ReallocateZeroedBlock(void* block, size_t size);
void FreeBlock(void* block);
