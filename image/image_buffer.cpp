#include "image/image_buffer.h"

#include <windows.h>

void* AllocateImageBuffer(size_t size)
{
    return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)size);
}

size_t ImageBufferSize(const void* buffer)
{
    return (size_t)GlobalSize((HGLOBAL)buffer);
}

void FreeImageBuffer(void* buffer)
{
    GlobalFree(buffer);
}
