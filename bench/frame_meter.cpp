#include "frame_meter.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "allocation_count.h"

enum { WARM_UP_FRAMES = 300 };

static uint64_t FileTimeValue(FILETIME time)
{
    return ((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

double MillisecondsSinceStart(void)
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    return (double)(FileTimeValue(now) - FileTimeValue(created)) / 10000.0;
}

static double CpuMilliseconds(void)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (double)(FileTimeValue(kernel) + FileTimeValue(user)) / 10000.0;
}

static void MeasureRound(const char* name, FrameRoutine frame, int frames)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double cpuStart = CpuMilliseconds();
    uint64_t allocationsStart = AllocationsSoFar();
    QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; i++)
        frame();
    QueryPerformanceCounter(&end);
    double cpu = CpuMilliseconds() - cpuStart;
    uint64_t allocations = AllocationsSoFar() - allocationsStart;
    double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
    printf("%s_frames %d\n", name, frames);
    printf("%s_fps %.1f\n", name, frames / seconds);
    printf("%s_cpu_ms_per_frame %.2f\n", name, cpu / frames);
    printf("%s_allocations_per_frame %.3f\n", name, (double)allocations / frames);
    fflush(stdout);
}

void MeasureFrames(const char* name, FrameRoutine frame, int frames, int onRequest)
{
    for (int i = 0; i < WARM_UP_FRAMES; i++)
        frame();
    if (!onRequest) {
        MeasureRound(name, frame, frames);
        return;
    }
    printf("%s_ready\n", name);
    fflush(stdout);
    char line[64];
    while (fgets(line, sizeof line, stdin))
        MeasureRound(name, frame, frames);
}

int RoundsOnRequest(int argc, char** argv)
{
    return argc > 2 && strcmp(argv[2], "rounds-on-request") == 0;
}
