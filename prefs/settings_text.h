#pragma once
// Reading the preference file's text: one key and its number per line.
#include <stdint.h>

// The number stored under key in the zero-terminated content, or fallback when the
// key is not there. A UTF-8 byte-order mark at the start is skipped. Lines end at a
// line feed; a line starting with "[" ends the search; a line whose first non-space
// character is commentMarker is skipped; keys match case-insensitively and over their
// whole length; the first match wins.
int32_t FindSettingValue(const char* content, const char* key, int32_t fallback, char commentMarker);
// A number as atoi reads one: white space, a sign, digits, anything after ignored.
// Values beyond 32 bits are held at the nearest 32-bit limit.
int32_t ParseLeadingInt(const char* text);
// "key = value\r\n" into buffer (room for at least 25 bytes plus the key); returns its length.
int32_t FormatSettingLine(char* buffer, const char* key, int32_t value);
