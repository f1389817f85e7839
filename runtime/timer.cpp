#include "runtime/timer.h"

#include <windows.h>
#include <mmsystem.h>

#include "runtime/system_library.h"

typedef DWORD(WINAPI* TimeGetTimeProc)(void);
typedef MMRESULT(WINAPI* TimePeriodProc)(UINT period);

typedef struct SystemTimer {
    HMODULE library; // WINMM, NULL without it, and then NULL procedures
    TimeGetTimeProc getTime;
    TimePeriodProc beginPeriod;
    TimePeriodProc endPeriod;
    uint32_t raisedTo; // the resolution raised, 0 while it is the system's
} SystemTimer;

static SystemTimer Timer;

void OpenSystemTimer(void)
{
    static const char* const names[] = {"timeGetTime", "timeBeginPeriod", "timeEndPeriod"};
    FARPROC found[3];
    if (Timer.library)
        return;
    Timer.library = LoadSystemProcedures("WINMM.DLL", names, found, 3);
    Timer.getTime = (TimeGetTimeProc)(void*)found[0];
    Timer.beginPeriod = (TimePeriodProc)(void*)found[1];
    Timer.endPeriod = (TimePeriodProc)(void*)found[2];
}

void CloseSystemTimer(void)
{
    if (Timer.raisedTo)
        Timer.endPeriod(Timer.raisedTo);
    if (Timer.library)
        FreeLibrary(Timer.library);
    Timer = SystemTimer();
}

uint32_t ReadClockMs(void)
{
    return Timer.getTime ? Timer.getTime() : GetTickCount();
}

// Both halves of a pair must be there: a raise that could not be undone would stay
// with every program on the machine until this one ends.
void RaiseTimerResolutionTo(uint32_t milliseconds)
{
    if (!Timer.raisedTo && Timer.endPeriod && Timer.beginPeriod && Timer.beginPeriod(milliseconds) == TIMERR_NOERROR)
        Timer.raisedTo = milliseconds;
}
