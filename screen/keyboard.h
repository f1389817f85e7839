#pragma once
// The keyboard read as a whole through DirectInput 7, once per frame.
#include <stdint.h>

enum { KEY_ESCAPE = 1, KEY_ANY = -1 };

// 0 when DirectInput 7 or the keyboard device is not available.
int32_t InitKeyboardInput(void);
// 1 when the key table was refreshed; 0 when reading failed (re-acquired for the next poll).
int32_t PollKeyboard(void);
// For a key code 0 to 255: 128 when down, else 0. For KEY_ANY: 1 when any key is down.
int32_t IsKeyDown(int32_t key);
void EndKeyboard(void);

struct IDirectInput7A;
struct IDirectInput7A* LoadDirectInput(void);
void ReleaseDirectInput(void);
