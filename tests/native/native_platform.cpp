// The seam through which the platform-free code reaches the platform when it is built
// natively: the program heap and the image buffers are the C heap (each block with its
// size in front, so that growth knows which bytes are new), the command line a fixed text.
#include <stdlib.h>
#include <string.h>

#include "image/image_buffer.h"
#include "runtime/heap.h"
#include "runtime/params.h"

void* ReallocateZeroedBlock(void* block, size_t size)
{
    size_t* header = block ? (size_t*)block - 2 : NULL;
    size_t old = header ? header[0] : 0;
    header = (size_t*)realloc(header, 2 * sizeof(size_t) + size);
    if (!header)
        return NULL;
    header[0] = size;
    if (size > old)
        memset((char*)(header + 2) + old, 0, size - old);
    return header + 2;
}

void* AllocateZeroedBlock(size_t size) { return ReallocateZeroedBlock(NULL, size); }

void* AllocateBlock(size_t size) { return AllocateZeroedBlock(size); }

void FreeBlock(void* block)
{
    if (block)
        free((size_t*)block - 2);
}

const char* GetProgramCommandLine(void) { return "prog.scr"; }

void* AllocateImageBuffer(size_t size) { return AllocateZeroedBlock(size); }

size_t ImageBufferSize(const void* buffer) { return ((const size_t*)buffer)[-2]; }

void FreeImageBuffer(void* buffer) { FreeBlock(buffer); }
