#include "prefs/settings_text.h"

#include <string.h>

#include "runtime/text.h"

static int IsAtoiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int32_t ParseLeadingInt(const char* text)
{
    while (IsAtoiSpace(*text))
        text++;
    int negative = 0;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        text++;
    }
    int64_t value = 0;
    while (*text >= '0' && *text <= '9') {
        if (value <= (int64_t)INT32_MAX + 1)
            value = value * 10 + (*text - '0');
        text++;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return (int32_t)value;
}

int32_t FindSettingValue(const char* content, const char* key, int32_t fallback, char commentMarker)
{
    if (!content || !key || !key[0])
        return fallback;
    size_t keyLength = strlen(key);
    const char* p = content;
    // Notepad's "UTF-8" puts a byte-order mark in front of the first key.
    if (strncmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    while (*p) {
        if (*p == '[')
            return fallback;
        while (*p == ' ')
            p++;
        if (*p != commentMarker) {
            const char* start = p;
            while (*p && *p != '=' && *p != '\n')
                p++;
            const char* end = p;
            while (end > start && end[-1] == ' ')
                end--;
            if (*p == '=' && (size_t)(end - start) == keyLength &&
                CompareNoCase(key, start, (int32_t)keyLength) == 0) {
                p++;
                while (*p == ' ')
                    p++;
                return ParseLeadingInt(p);
            }
        }
        while (*p && *p != '\n')
            p++;
        if (*p == '\n')
            p++;
        if (*p == '\r')
            p++;
    }
    return fallback;
}

int32_t FormatSettingLine(char* buffer, const char* key, int32_t value)
{
    size_t keyLength = strlen(key);
    memcpy(buffer, key, keyLength);
    char* p = buffer + keyLength;
    memcpy(p, " = ", 3);
    p += 3;
    p += FormatDecimal(value, p);
    *p++ = '\r';
    *p++ = '\n';
    return (int32_t)(p - buffer);
}
