#include "runtime/table.h"

#include "runtime/heap.h"

// Sizes past what a size_t holds (on 32-bit builds) are refused rather than wrapped.
static size_t TableBytes(const NumberedTable* table, int64_t capacity)
{
    size_t most = (size_t)-1 / 2;
    uint64_t slots = (uint64_t)capacity + (uint64_t)table->spareSlots;
    if (table->entrySize == 0 || slots > most / table->entrySize)
        return 0;
    return (size_t)slots * table->entrySize;
}

int32_t CreateTable(NumberedTable* table, int32_t capacity, int32_t step, int32_t spareSlots, size_t entrySize)
{
    table->step = step;
    table->spareSlots = spareSlots;
    table->entrySize = entrySize;
    size_t bytes = TableBytes(table, capacity);
    table->entries = bytes ? AllocateZeroedBlock(bytes) : NULL;
    table->capacity = table->entries ? capacity : 0;
    return table->entries != NULL;
}

int32_t MakeRoomInTable(NumberedTable* table, int32_t number)
{
    if (number < 0 || !table->entries)
        return 0;
    if (number < table->capacity)
        return 1;
    int64_t grown = (int64_t)number + table->step;
    if (grown + table->spareSlots > INT32_MAX)
        return 0;
    size_t bytes = TableBytes(table, grown);
    void* block = bytes ? ReallocateZeroedBlock(table->entries, bytes) : NULL;
    if (!block)
        return 0;
    table->entries = block;
    table->capacity = (int32_t)grown;
    return 1;
}

void* FindTableEntry(const NumberedTable* table, int32_t number)
{
    if (!table->entries || number < 0 || number >= table->capacity)
        return NULL;
    return (char*)table->entries + (size_t)number * table->entrySize;
}
