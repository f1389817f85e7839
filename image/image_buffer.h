#pragma once
// The buffers decoders write into: zeroed, fixed blocks of the system's global heap.
#include <stddef.h>

void* AllocateImageBuffer(size_t size);
size_t ImageBufferSize(const void* buffer);
void FreeImageBuffer(void* buffer);
