#include "runtime/heap.h"
#include "runtime/program.h"

HANDLE ProgramHeap;

int CreateProgramHeap(void)
{
    ProgramHeap = HeapCreate(0, 4000, 0);
    return ProgramHeap != NULL;
}

void DestroyProgramHeap(void)
{
    if (ProgramHeap) {
        HeapDestroy(ProgramHeap);
        ProgramHeap = NULL;
    }
}

void* AllocateBlock(size_t size)
{
    return HeapAlloc(ProgramHeap, 0, size);
}

void* AllocateZeroedBlock(size_t size)
{
    return HeapAlloc(ProgramHeap, HEAP_ZERO_MEMORY, size);
}

void* ReallocateZeroedBlock(void* block, size_t size)
{
    if (!block)
        return AllocateZeroedBlock(size);
    return HeapReAlloc(ProgramHeap, HEAP_ZERO_MEMORY, block, size);
}

void FreeBlock(void* block)
{
    if (block)
        HeapFree(ProgramHeap, 0, block);
}
