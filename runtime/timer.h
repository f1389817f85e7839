#pragma once
// The multimedia timer of WINMM, from the system folder: a millisecond clock and the
// system timer's resolution. Without WINMM the clock is the tick count, in its coarser
// steps (10 to 16 ms), and the resolution stays as the system has it.
#include <stdint.h>

// Loads WINMM once; the clock and the resolution work without it too.
void OpenSystemTimer(void);
// Gives WINMM back; the clock is the tick count again.
void CloseSystemTimer(void);
// Milliseconds of a clock that wraps after 2^32.
uint32_t ReadClockMs(void);
// 1 when the system timer now ticks every given milliseconds; each 1 asks for one
// LowerTimerResolution with the same value.
int32_t RaiseTimerResolutionTo(uint32_t milliseconds);
void LowerTimerResolution(uint32_t milliseconds);
