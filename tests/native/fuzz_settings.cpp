// Feeds arbitrary bytes to the settings file's reader as the file's content, looking up
// the program's two keys.
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
    ParseLeadingInt(content);
    free(content);
    return 0;
}
