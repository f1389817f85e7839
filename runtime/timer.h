#pragma once
// The multimedia timer of WINMM, from the system folder: a millisecond clock and the
// system timer's resolution. Without WINMM the clock is the tick count, in its coarser
// steps (10 to 16 ms), and the resolution stays as the system has it.
#include <stdint.h>

// Loads WINMM once; the clock and the resolution work without it too.
void OpenSystemTimer(void);
// Gives back a raised resolution, then WINMM; the clock is the tick count again.
void CloseSystemTimer(void);
// Milliseconds of a clock that wraps after 2^32.
uint32_t ReadClockMs(void);
// The system timer ticks every given milliseconds until CloseSystemTimer, where it can;
// one raise at a time.
void RaiseTimerResolutionTo(uint32_t milliseconds);
