#include "runtime/timer.h"

#include <windows.h>
#include <mmsystem.h>

#include "runtime/system_library.h"

typedef DWORD(WINAPI* TimeGetTimeProc)(void);
typedef MMRESULT(WINAPI* TimePeriodProc)(UINT period);

static HMODULE MultimediaLibrary;
static TimeGetTimeProc GetTime;
static TimePeriodProc BeginPeriod;
static TimePeriodProc EndPeriod;

void OpenSystemTimer(void)
{
    static const char* const names[] = {"timeGetTime", "timeBeginPeriod", "timeEndPeriod"};
    FARPROC found[3];
    if (MultimediaLibrary)
        return;
    MultimediaLibrary = LoadSystemProcedures("WINMM.DLL", names, found, 3);
    GetTime = (TimeGetTimeProc)(void*)found[0];
    BeginPeriod = (TimePeriodProc)(void*)found[1];
    EndPeriod = (TimePeriodProc)(void*)found[2];
}

void CloseSystemTimer(void)
{
    GetTime = NULL;
    BeginPeriod = NULL;
    EndPeriod = NULL;
    if (MultimediaLibrary)
        FreeLibrary(MultimediaLibrary);
    MultimediaLibrary = NULL;
}

uint32_t ReadClockMs(void)
{
    return GetTime ? GetTime() : GetTickCount();
}

// Both halves of a pair must be there: a raise that could not be undone would stay
// with every program on the machine until this one ends.
int32_t RaiseTimerResolutionTo(uint32_t milliseconds)
{
    return BeginPeriod && EndPeriod && BeginPeriod(milliseconds) == TIMERR_NOERROR;
}

void LowerTimerResolution(uint32_t milliseconds)
{
    if (EndPeriod)
        EndPeriod(milliseconds);
}
