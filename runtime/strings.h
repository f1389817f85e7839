#pragma once
// String values, the scratch area in which string expressions are built, and arrays.
//
// A string value is a zero-terminated text in a block of the program heap, or NULL
// for the absent string, which every operation reads as "". Each value has exactly
// one owning variable. Operations that produce text write it at an output position
// in ScratchArea (always ScratchCursor or a saved earlier cursor), terminate it, leave
// ScratchCursor on the terminator and return the start. No write ever passes the end
// of the area: a result that does not fit is cut there.
#include <stdint.h>

enum { SCRATCH_SIZE = 64000 };

extern char* ScratchArea;
extern char* ScratchCursor;

int AllocateScratchArea(void);
// Where a result may start: out itself, or the area's last byte when out lies beyond it.
char* ClampToScratch(char* out);
// Bytes of text that fit at out, keeping one for the terminator.
int32_t ScratchRoom(const char* out);

void AssignFromScratch(char** variable, char* start);
void AppendToScratch(const char* source);
void AssignString(char** variable, const char* source);
void CopyString(char** variable, const char* source);
void FreeString(char* s);
int32_t StringsEqual(const char* a, const char* b);
int32_t StringLess(const char* a, const char* b);
int32_t StringGreater(const char* a, const char* b);

enum { ARRAY_TYPE_INT32 = 5, ARRAY_TYPE_FLOAT = 9 };

// A zeroed block: count, element type, then count + 1 elements. Returns the address
// of the type word, or NULL.
void* AllocateArray(int32_t elementSize, int32_t count);
// Frees an array given by the address of its element 0 (NULL does nothing).
void ReleaseArray(void* element0);
// What an array declaration does: frees the previous array, allocates the new one,
// writes its type code and returns the address of element 0 (NULL on failure).
void* DeclareArray(void* previous, int32_t elementSize, int32_t count, int32_t typeCode);
