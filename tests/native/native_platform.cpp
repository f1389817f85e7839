// The seam through which the platform-free code reaches the platform when it is
// built natively: the program heap and the image buffers are the C heap, the
// command line a fixed text.
#include <stdlib.h>
#include <string.h>

#include "image/image_buffer.h"
#include "runtime/heap.h"
#include "runtime/params.h"

const char* NativeCommandLine = "prog.scr";

// Each block carries its size in front, so a reallocation knows which bytes are new.
typedef struct BlockHeader {
    size_t size;
    size_t padding;
} BlockHeader;

int CreateProgramHeap(void)
{
    return 1;
}

void DestroyProgramHeap(void)
{
}

void* AllocateBlock(size_t size)
{
    BlockHeader* header = (BlockHeader*)malloc(sizeof(BlockHeader) + size);
    if (!header)
        return NULL;
    header->size = size;
    return header + 1;
}

void* AllocateZeroedBlock(size_t size)
{
    void* block = AllocateBlock(size);
    if (block)
        memset(block, 0, size);
    return block;
}

void* ReallocateZeroedBlock(void* block, size_t size)
{
    if (!block)
        return AllocateZeroedBlock(size);
    BlockHeader* header = (BlockHeader*)block - 1;
    size_t old = header->size;
    header = (BlockHeader*)realloc(header, sizeof(BlockHeader) + size);
    if (!header)
        return NULL;
    header->size = size;
    if (size > old)
        memset((char*)(header + 1) + old, 0, size - old);
    return header + 1;
}

void FreeBlock(void* block)
{
    if (block)
        free((BlockHeader*)block - 1);
}

const char* GetProgramCommandLine(void)
{
    return NativeCommandLine;
}

void* AllocateImageBuffer(size_t size)
{
    return AllocateZeroedBlock(size);
}

size_t ImageBufferSize(const void* buffer)
{
    return ((const BlockHeader*)buffer - 1)->size;
}

void FreeImageBuffer(void* buffer)
{
    FreeBlock(buffer);
}
