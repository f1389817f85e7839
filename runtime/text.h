#pragma once
// Text and number operations. Each text-producing one writes its result at out
// (inside ScratchArea), leaves ScratchCursor on the terminator and returns out.
#include <stdint.h>

char* LeftChars(const char* s, int32_t n, char* out);
int32_t StringLength(const char* s);
char* UpperCase(const char* s, char* out);
char* Spaces(int32_t n, char* out);
char* NumberToString(int32_t value, char* out);
// The decimal text of value into buffer (room for 11 bytes, no terminator); returns its length.
int32_t FormatDecimal(int32_t value, char* buffer);
// width 0 masks the value to 8 bits, 1 to 16 bits, anything else keeps all 32.
char* UnsignedToString(uint32_t value, int32_t width, char* out);
char* HexToString(uint32_t value, char* out);
int32_t StringToNumber(const char* s);
enum { REMOVE_IGNORE_CASE = 1 };
char* RemoveAll(const char* s, const char* find, int32_t mode, char* out);
char* DirectoryPart(const char* path, char* out);
// ASCII-only case-insensitive comparison of at most n bytes, as the C locale does it.
int CompareNoCase(const char* a, const char* b, int32_t n);
