#pragma once
// The preference file: named whole numbers in a small text file, one per line.
// A file is either written afresh line by line, or read whole and searched by key.
// At most one is open at a time.
#include <stdint.h>

void InitSettingsFile(void);
// Starts writing name afresh. The lines go to a new file beside it, which takes the
// old file's place only when CloseSettingsFile finds every line written, so a failed
// save never costs the settings already there. Non-zero on success, 0 when it cannot
// be written (the old file is left as it was).
intptr_t CreateSettingsFile(const char* name);
// Reads the whole file for look-ups. Non-zero on success, 0 when it cannot be opened.
intptr_t OpenSettingsFile(const char* name);
// The number under key, or fallback (also while no file is open for reading).
int32_t ReadSettingInt(const char* key, int32_t fallback);
// Appends "key = value" and a line end to a file being written.
void WriteSettingInt(const char* key, int32_t value);
// Closes what is open. For a file being written, puts it in place and returns 1 when
// all of it reached the disk, otherwise 0 with the old file untouched.
int32_t CloseSettingsFile(void);
