#include "app/settings.h"

#include "app/app.h"
#include "prefs/prefs.h"
#include "runtime/strings.h"
#include "runtime/system.h"

// dir + file name as a temporary in the scratch area, left for a call that follows.
static char* BuildSettingsPath(const char* dir)
{
    char* start = ScratchCursor;
    AppendToScratch(dir);
    AppendToScratch(SETTINGS_FILE_NAME);
    ScratchCursor++;
    return start;
}

void LoadSettings(const char* dir)
{
    char* start = BuildSettingsPath(dir);
    OpenSettingsFile(start);
    ScratchCursor = start;
    SpriteCount = ReadSettingInt("ZCOUNT", DEFAULT_SPRITE_COUNT);
    FrameDelay = ReadSettingInt("ZDELAY", DEFAULT_FRAME_DELAY);
    CloseSettingsFile();
}

int32_t SaveSettings(const char* dir)
{
    char* start = BuildSettingsPath(dir);
    intptr_t created = CreateSettingsFile(start);
    ScratchCursor = start;
    if (!created)
        return 0;
    WriteSettingInt("ZCOUNT", SpriteCount);
    WriteSettingInt("ZDELAY", FrameDelay);
    return CloseSettingsFile();
}

int32_t AcceptDelay(int32_t delay)
{
    if (delay >= 0 && delay <= LONGEST_FRAME_DELAY)
        return 1;
    ShowAppMessage("Delay have to be between: 0-1000!");
    return 0;
}

void ShowAppMessage(const char* text)
{
    char* copy = NULL;
    CopyString(&copy, text);
    ShowMessage("Zarn Scr.s. Message", copy, 0);
    FreeString(copy);
}
