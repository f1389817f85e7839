#include "app/app.h"

int32_t SpriteCount;
int32_t FrameDelay;
int32_t SpriteIndex;
char* SettingsDir;
