#pragma once
// Frame timing shared by the two benchmark programs: wall and CPU time over a run of
// frames, the time from process creation to a moment, and the report lines.
#include <stdint.h>

typedef void (*FrameRoutine)(void);

// Milliseconds from this process's creation until now.
double MillisecondsSinceStart(void);
// Runs 300 frames first, since the copies start at size 0 and take a few hundred frames
// to grow to the sizes they keep; then measures a round of frames frames and prints its
// figures under the name. With onRequest, measures a round for each line read from
// standard input instead, until it ends: the benchmark script alternates two programs so.
void MeasureFrames(const char* name, FrameRoutine frame, int frames, int onRequest);
// Whether the command line asks for rounds on request: PROGRAM FRAMES rounds-on-request.
int RoundsOnRequest(int argc, char** argv);
