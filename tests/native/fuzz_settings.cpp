// Feeds arbitrary bytes to the settings file's reader as the file's content, and
// looks up keys taken from the same bytes.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "prefs/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Like the store, the content is the file's bytes followed by a zero byte.
    char* content = (char*)malloc(size + 1);
    memcpy(content, data, size);
    content[size] = 0;
    FindSettingValue(content, "ZCOUNT", 10, ';');
    FindSettingValue(content, "ZDELAY", 10, ';');
    // A key drawn from the input's first bytes, up to its first line end or zero.
    size_t keyLength = 0;
    while (keyLength < size && keyLength < 16 && data[keyLength] && data[keyLength] != '\n')
        keyLength++;
    char key[17];
    memcpy(key, data, keyLength);
    key[keyLength] = 0;
    FindSettingValue(content, key, -1, ';');
    ParseLeadingInt(content);
    free(content);
    return 0;
}
