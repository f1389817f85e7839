#pragma once
// Frame timing shared by the two benchmark programs: wall and CPU time over a run of
// frames, the time from process creation to a moment, and the report lines.
#include <stdint.h>

typedef void (*FrameRoutine)(void);

// Milliseconds from this process's creation until now.
double MillisecondsSinceStart(void);
// Runs warmUp frames, then frames frames, and prints the figures under the name.
void MeasureFrames(const char* name, FrameRoutine frame, int warmUp, int frames);
