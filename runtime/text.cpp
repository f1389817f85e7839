#include "runtime/text.h"

#include <string.h>

#include "runtime/heap.h"
#include "runtime/strings.h"

// Writes length bytes from source at out (they may overlap), cut to what the area
// holds, terminates them and leaves the cursor there.
static char* PutText(char* out, const char* source, size_t length)
{
    out = ClampToScratch(out);
    size_t room = (size_t)ScratchRoom(out);
    if (length > room)
        length = room;
    memmove(out, source, length);
    out[length] = 0;
    ScratchCursor = out + length;
    return out;
}

char* LeftChars(const char* s, int32_t n, char* out)
{
    if (!s || n <= 0)
        return PutText(out, "", 0);
    return PutText(out, s, strnlen(s, (size_t)n));
}

int32_t StringLength(const char* s)
{
    return s ? (int32_t)strlen(s) : 0;
}

static unsigned char UpperByte(unsigned char c)
{
    if ((c >= 0x61 && c <= 0x7A) || c >= 0xE0)
        return (unsigned char)(c - 0x20);
    return c;
}

char* UpperCase(const char* s, char* out)
{
    if (!s)
        s = "";
    out = ClampToScratch(out);
    size_t length = strnlen(s, (size_t)ScratchRoom(out));
    const unsigned char* in = (const unsigned char*)s;
    unsigned char* to = (unsigned char*)out;
    // Each byte is read before the byte over it is written, whichever way the two overlap.
    if (to <= in) {
        for (size_t i = 0; i < length; i++)
            to[i] = UpperByte(in[i]);
    } else {
        for (size_t i = length; i-- > 0;)
            to[i] = UpperByte(in[i]);
    }
    out[length] = 0;
    ScratchCursor = out + length;
    return out;
}

char* Spaces(int32_t n, char* out)
{
    out = ClampToScratch(out);
    int32_t count = n < 0 ? 0 : n;
    if (count > ScratchRoom(out))
        count = ScratchRoom(out);
    memset(out, ' ', (size_t)count);
    out[count] = 0;
    ScratchCursor = out + count;
    return out;
}

// Decimal digits of value into the end of buffer; returns where they start.
static char* FormatDigits(uint32_t value, char* end)
{
    char* p = end;
    do {
        *--p = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    return p;
}

int32_t FormatDecimal(int32_t value, char* buffer)
{
    char digits[12];
    char* end = digits + sizeof digits;
    uint32_t magnitude = value < 0 ? 0u - (uint32_t)value : (uint32_t)value;
    char* start = FormatDigits(magnitude, end);
    if (value < 0)
        *--start = '-';
    memcpy(buffer, start, (size_t)(end - start));
    return (int32_t)(end - start);
}

char* NumberToString(int32_t value, char* out)
{
    char buffer[11];
    return PutText(out, buffer, (size_t)FormatDecimal(value, buffer));
}

char* UnsignedToString(uint32_t value, int32_t width, char* out)
{
    if (width == 0)
        value &= 0xFF;
    else if (width == 1)
        value &= 0xFFFF;
    char buffer[12];
    char* end = buffer + sizeof buffer;
    char* start = FormatDigits(value, end);
    return PutText(out, start, (size_t)(end - start));
}

char* HexToString(uint32_t value, char* out)
{
    char buffer[8];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value);
    return PutText(out, p, (size_t)(end - p));
}

int32_t StringToNumber(const char* s)
{
    if (!s)
        return 0;
    while (*s == ' ')
        s++;
    int negative = 0;
    if (*s == '-' || *s == '+') {
        negative = *s == '-';
        s++;
    }
    uint32_t value = 0;
    while (*s >= '0' && *s <= '9') {
        value = value * 10u + (uint32_t)(*s - '0');
        s++;
    }
    return (int32_t)(negative ? 0u - value : value);
}

static unsigned char LowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? (unsigned char)(c + 0x20) : c;
}

int CompareNoCase(const char* a, const char* b, int32_t n)
{
    for (int32_t i = 0; i < n; i++) {
        unsigned char x = LowerAscii((unsigned char)a[i]);
        unsigned char y = LowerAscii((unsigned char)b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
    return 0;
}

char* RemoveAll(const char* s, const char* find, int32_t mode, char* out)
{
    if (!s || !*s || !find || !*find)
        return PutText(out, "", 0);
    // The search text may lie in the very scratch bytes the result overwrites.
    size_t findLength = strlen(find);
    char* findCopy = (char*)AllocateBlock(findLength + 1);
    if (!findCopy)
        return PutText(out, s, strlen(s));
    memcpy(findCopy, find, findLength + 1);

    out = ClampToScratch(out);
    size_t room = (size_t)ScratchRoom(out);
    size_t written = 0;
    // The result never runs ahead of the scan, so s may start at out itself.
    while (*s && written < room) {
        int match = (mode & REMOVE_IGNORE_CASE)
                        ? CompareNoCase(s, findCopy, (int32_t)findLength) == 0
                        : strncmp(s, findCopy, findLength) == 0;
        if (match) {
            s += findLength;
        } else {
            out[written++] = *s++;
        }
    }
    out[written] = 0;
    ScratchCursor = out + written;
    FreeBlock(findCopy);
    return out;
}

char* DirectoryPart(const char* path, char* out)
{
    if (!path)
        return PutText(out, "", 0);
    const char* start = path[0] == '"' ? path + 1 : path;
    const char* last = strrchr(start, '\\');
    if (!last)
        return PutText(out, "", 0);
    size_t length = (size_t)(last - start) + 1;
    const char* quote = (const char*)memchr(start, '"', length);
    if (quote)
        length = (size_t)(quote - start);
    return PutText(out, start, length);
}
