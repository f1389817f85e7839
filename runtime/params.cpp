#include "runtime/params.h"

#include <string.h>

#include "runtime/strings.h"

int32_t ParameterCounter;

char* CopyParameter(const char* commandLine, int32_t wanted, char* out)
{
    out = ClampToScratch(out);
    size_t room = (size_t)ScratchRoom(out);
    size_t length = 0;
    const char* p = commandLine ? commandLine : "";
    int32_t number = 0;
    while (*p) {
        while (*p == ' ')
            p++;
        if (!*p)
            break;
        const char* start;
        const char* end;
        if (*p == '"') {
            start = ++p;
            while (*p && *p != '"')
                p++;
            end = p;
            if (*p == '"')
                p++;
        } else {
            start = p;
            while (*p && *p != ' ')
                p++;
            end = p;
        }
        if (number == wanted) {
            length = (size_t)(end - start);
            if (length > room)
                length = room;
            memmove(out, start, length);
            break;
        }
        number++;
    }
    out[length] = 0;
    ScratchCursor = out + length;
    return out;
}

char* NextProgramParameter(char* out)
{
    char* result = CopyParameter(GetProgramCommandLine(), ParameterCounter + 1, out);
    ParameterCounter++;
    return result;
}

const char* SkipProgramName(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        const char* close = strchr(p + 1, '"');
        if (!close)
            return commandLine;
        p = close + 1;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    return p;
}
