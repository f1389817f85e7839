#pragma once
// The numbered tables of windows and gadgets: zero-filled, two spare slots past the
// capacity, grown to number + step when a number at or past the capacity is used.
#include <stddef.h>
#include <stdint.h>

// Allocates a zero-filled table of capacity + 2 entries.
void* AllocateTable(int32_t capacity, size_t entrySize);
// Makes room for number in *table; gives 0 (and leaves table and capacity alone) when
// the number is negative or the memory cannot be had.
int32_t MakeRoomInTable(void** table, int32_t* capacity, int32_t number, int32_t step, size_t entrySize);
