#include "gui/table.h"

#include "gui/placement.h"
#include "runtime/heap.h"

static const int32_t SPARE_SLOTS = 2;

// Sizes past what a size_t holds (on 32-bit builds) are refused rather than wrapped.
static size_t TableBytes(int64_t capacity, size_t entrySize)
{
    size_t most = (size_t)-1 / 2;
    size_t slots = (size_t)(capacity + SPARE_SLOTS);
    if (entrySize == 0 || slots > most / entrySize)
        return 0;
    return slots * entrySize;
}

void* AllocateTable(int32_t capacity, size_t entrySize)
{
    size_t bytes = TableBytes(capacity, entrySize);
    return bytes ? AllocateZeroedBlock(bytes) : NULL;
}

int32_t MakeRoomInTable(void** table, int32_t* capacity, int32_t number, int32_t step, size_t entrySize)
{
    if (number < 0 || !*table)
        return 0;
    if (number < *capacity)
        return 1;
    if (number > INT32_MAX - step - SPARE_SLOTS)
        return 0;
    int32_t grown = GrownCapacity(*capacity, number, step);
    size_t bytes = TableBytes(grown, entrySize);
    void* block = bytes ? ReallocateZeroedBlock(*table, bytes) : NULL;
    if (!block)
        return 0;
    *table = block;
    *capacity = grown;
    return 1;
}
