#include "screen/covers.h"

#include <string.h>

#include "runtime/program.h"

enum { MAX_COVERS = 32 };

static HWND Covers[MAX_COVERS];
static int32_t CoverCount;
static HWND CoverOwner; // the show's window while covers are open
static int32_t CoversShown;
static int32_t CoverClassRegistered;

static const char COVER_CLASS[] = "Zarn Monitor Cover";

// An active cover would take the foreground from the show: it would count as away,
// and its keyboard would stop reading Escape. So a click leaves it inactive too.
static LRESULT CALLBACK CoverProcedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return DefWindowProcA(window, message, first, second);
}

int32_t RegisterBlackWindowClass(const char* name, WNDPROC procedure)
{
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = InstanceHandle;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

// A monitor reported over the show's own, as some systems report every monitor at the
// origin, gets no cover: it would hide the show.
static BOOL CALLBACK CoverMonitor(HMONITOR monitor, HDC dc, LPRECT area, LPARAM showArea)
{
    (void)monitor;
    (void)dc;
    RECT overlap;
    if (CoverCount == MAX_COVERS || IntersectRect(&overlap, area, (const RECT*)showArea))
        return TRUE;
    if (!CoverClassRegistered)
        CoverClassRegistered = RegisterBlackWindowClass(COVER_CLASS, CoverProcedure);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, COVER_CLASS, "",
                                 WS_POPUP | WS_DISABLED, area->left, area->top, area->right - area->left,
                                 area->bottom - area->top, CoverOwner, NULL, InstanceHandle, NULL);
    if (cover)
        Covers[CoverCount++] = cover;
    return TRUE;
}

void OpenMonitorCovers(HWND show)
{
    CloseMonitorCovers();
    MONITORINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!show || !GetMonitorInfoA(MonitorFromWindow(show, MONITOR_DEFAULTTOPRIMARY), &info))
        return;
    CoverOwner = show;
    EnumDisplayMonitors(NULL, NULL, CoverMonitor, (LPARAM)&info.rcMonitor);
}

void ShowMonitorCovers(int32_t shown)
{
    if (shown == CoversShown)
        return;
    CoversShown = shown;
    for (int32_t index = 0; index < CoverCount; index++) {
        if (shown)
            SetWindowPos(Covers[index], HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(Covers[index], SW_HIDE);
    }
}

void FollowMonitorLayout(void)
{
    if (CoverOwner)
        OpenMonitorCovers(CoverOwner);
}

void CloseMonitorCovers(void)
{
    for (int32_t index = 0; index < CoverCount; index++)
        DestroyWindow(Covers[index]);
    CoverCount = 0;
    CoversShown = 0;
    CoverOwner = NULL;
}
