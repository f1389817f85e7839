// The show's own frame loop at 100 copies with no frame delay, measured. Set up as
// the program's show mode is, with the random generator fixed so that the reference
// program flies the very same copies.
#include <windows.h>
#include <stdio.h>

#include "allocation_count.h"
#include "app/app.h"
#include "app/copies.h"
#include "app/show.h"
#include "frame_meter.h"
#include "image/image.h"
#include "runtime/program.h"
#include "runtime/random.h"
#include "runtime/timer.h"
#include "screen/keyboard.h"
#include "screen/screen.h"
#include "screen/sprite3d.h"

enum { BENCH_SEED = 12345, BENCH_COPIES = 100 };

static void EngineFrame(void)
{
    DrawShowFrame();
    PollKeyboard();
    if (IsKeyDown(KEY_ESCAPE))
        EndProgram();
}

// How long the show's pause after a frame really lasts for a given frame delay.
static void MeasurePause(int32_t delay, int times)
{
    FrameDelay = delay;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < times; i++)
        PauseAfterFrame();
    QueryPerformanceCounter(&end);
    double ms = 1000.0 * (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart / times;
    printf("engine_pause_%dms_mean_ms %.2f\n", (int)delay, ms);
    FrameDelay = 0;
}

static void EndBench(void)
{
    EndKeyboard();
    EndSprite3DSystem();
    EndSpriteSystem();
    CloseSystemTimer();
}

int main(int argc, char** argv)
{
    int frames = argc > 1 ? atoi(argv[1]) : 600;
    CountAllocations();
    StartProgram(GetModuleHandleA(NULL), ResetImageDecoders, EndBench);
    AllocateCopyTables();
    SettingsDir = (char*)ProgramDirectory;
    SpriteCount = BENCH_COPIES;
    FrameDelay = 0;
    SeedRandom(BENCH_SEED);
    SetUpShow();
    EngineFrame();
    printf("engine_start_to_first_flip_ms %.1f\n", MillisecondsSinceStart());
    // Set-up allocates; a count of 0 here would mean the counting is not hooked in.
    printf("engine_setup_allocations %llu\n", (unsigned long long)AllocationsSoFar());
    MeasureFrames("engine", EngineFrame, frames, RoundsOnRequest(argc, argv));
    MeasurePause(10, 50);
    MeasurePause(120, 5);
    EndProgram();
}
