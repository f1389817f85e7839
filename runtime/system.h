#pragma once
// Delays, message boxes and the file size query.
#include <stdint.h>

void DelayMs(int32_t milliseconds);
// Note the order: the caption comes first, then the text.
int32_t ShowMessage(const char* title, const char* text, uint32_t flags);
// Size of a file (low 32 bits), -1 when there is nothing under the name, -2 for a
// directory. A relative name is looked up in the program's directory.
int32_t QueryFileSize(const char* name);
