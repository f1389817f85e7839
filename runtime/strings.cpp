#include "runtime/strings.h"

#include <string.h>

#include "runtime/heap.h"

char* ScratchArea;
char* ScratchCursor;

int AllocateScratchArea(void)
{
    ScratchArea = (char*)AllocateZeroedBlock(SCRATCH_SIZE);
    ScratchCursor = ScratchArea;
    return ScratchArea != NULL;
}

char* ClampToScratch(char* out)
{
    char* last = ScratchArea + SCRATCH_SIZE - 1;
    return out > last ? last : out;
}

int32_t ScratchRoom(const char* out)
{
    return (int32_t)(ScratchArea + SCRATCH_SIZE - 1 - out);
}

void AssignFromScratch(char** variable, char* start)
{
    FreeString(*variable);
    *variable = NULL;
    char* end = ClampToScratch(ScratchCursor);
    size_t length = end > start ? (size_t)(end - start) : 0;
    char* block = (char*)AllocateBlock(length + 1);
    ScratchCursor = start;
    if (block) {
        memcpy(block, start, length);
        block[length] = 0;
        *variable = block;
    }
}

void AppendToScratch(const char* source)
{
    char* out = ClampToScratch(ScratchCursor);
    if (source) {
        size_t length = strnlen(source, (size_t)ScratchRoom(out));
        memmove(out, source, length);
        out += length;
    }
    *out = 0;
    ScratchCursor = out;
}

void AssignString(char** variable, const char* source)
{
    FreeString(*variable);
    *variable = NULL;
    CopyString(variable, source);
}

// A copied string's block has one byte to spare beyond its terminator, as copies
// always had.
enum { COPY_SPARE_BYTES = 2 };

void CopyString(char** variable, const char* source)
{
    if (!source)
        return;
    size_t length = strlen(source);
    char* block = (char*)AllocateBlock(length + COPY_SPARE_BYTES);
    if (!block)
        return;
    memcpy(block, source, length + 1);
    *variable = block;
}

void FreeString(char* s)
{
    FreeBlock(s);
}

static int CompareStrings(const char* a, const char* b)
{
    return strcmp(a ? a : "", b ? b : "");
}

int32_t StringsEqual(const char* a, const char* b)
{
    return CompareStrings(a, b) == 0;
}

int32_t StringLess(const char* a, const char* b)
{
    return CompareStrings(a, b) < 0;
}

int32_t StringGreater(const char* a, const char* b)
{
    return CompareStrings(a, b) > 0;
}

void* AllocateArray(int32_t elementSize, int32_t count)
{
    if (elementSize <= 0 || count < 0)
        return NULL;
    uint64_t size = (uint64_t)elementSize * ((uint64_t)count + 1) + 8;
    if (size > 0x7FFFFFFF)
        return NULL;
    int32_t* block = (int32_t*)AllocateZeroedBlock((size_t)size);
    if (!block)
        return NULL;
    block[0] = count;
    return block + 1;
}

void ReleaseArray(void* element0)
{
    if (element0)
        FreeBlock((char*)element0 - 8);
}

void* DeclareArray(void* previous, int32_t elementSize, int32_t count, int32_t typeCode)
{
    ReleaseArray(previous);
    int32_t* typeWord = (int32_t*)AllocateArray(elementSize, count);
    if (!typeWord)
        return NULL;
    *typeWord = typeCode;
    return typeWord + 1;
}
