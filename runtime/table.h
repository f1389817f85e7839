#pragma once
// Numbered tables: the entries of windows, gadgets, sprites and 3-D sprites, indexed
// by the number the caller chose. Zero-filled blocks of the program heap with spare
// slots past the capacity, grown to the number asked plus a step when a number at or
// past the capacity is used.
#include <stddef.h>
#include <stdint.h>

typedef struct NumberedTable {
    void* entries; // capacity + spareSlots entries, or NULL
    int32_t capacity;
    int32_t step;
    int32_t spareSlots;
    size_t entrySize;
} NumberedTable;

// A fresh zero-filled table; 0 (and an empty table) when it cannot be had.
int32_t CreateTable(NumberedTable* table, int32_t capacity, int32_t step, int32_t spareSlots, size_t entrySize);
// Makes room for number, keeping every entry. 0, with the table as it was, when the
// number is negative, the size would not fit in memory's range, or the memory cannot
// be had.
int32_t MakeRoomInTable(NumberedTable* table, int32_t number);
// The entry of a number below the capacity, or NULL.
void* FindTableEntry(const NumberedTable* table, int32_t number);
