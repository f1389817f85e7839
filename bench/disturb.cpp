// Disturbs a running show as the desktop and a user would, for scripts/soak.sh and
// scripts/start-end.sh, and times the show's return:
//   disturb front MS          another program's window in front for MS, then closed
//   disturb away              the same window left in front until the show ends by itself
//   disturb display-change    WM_DISPLAYCHANGE to every top-level window
//   disturb watch             only the wait for the show's copies to move
//   disturb click TITLE ID    a click on control ID of the window titled TITLE
// Each but click and away prints "back N ms" once the show's copies move again, and ends with 1
// when they have not within 2 s, or when the show drew on behind the window in front.
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { SHOT_WIDTH = 640, SHOT_HEIGHT = 480, BACK_LIMIT_MS = 2000, MOVED_PIXELS = 500 };

static uint32_t ShotPixels[2][SHOT_WIDTH * SHOT_HEIGHT];

// The first monitor's pixels, where the show draws, through the desktop's device context.
static void TakeShot(uint32_t* pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, SHOT_WIDTH, -SHOT_HEIGHT, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = NULL;
    HGDIOBJ old = SelectObject(memory, CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0));
    BitBlt(memory, 0, 0, SHOT_WIDTH, SHOT_HEIGHT, screen, 0, 0, SRCCOPY);
    GdiFlush();
    if (bits)
        memcpy(pixels, bits, sizeof ShotPixels[0]);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

static int CountChanged(void)
{
    int changed = 0;
    for (int at = 0; at < SHOT_WIDTH * SHOT_HEIGHT; at++)
        changed += ShotPixels[0][at] != ShotPixels[1][at];
    return changed;
}

static void PumpFor(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

// The show is back once two shots 100 ms apart differ: its copies move again.
static int WatchShow(DWORD since)
{
    TakeShot(ShotPixels[0]);
    for (;;) {
        PumpFor(100);
        TakeShot(ShotPixels[1]);
        DWORD waited = GetTickCount() - since;
        if (CountChanged() > MOVED_PIXELS) {
            printf("back %lu ms\n", (unsigned long)waited);
            return waited > BACK_LIMIT_MS;
        }
        if (waited > 2 * BACK_LIMIT_MS) {
            printf("not back after %lu ms\n", (unsigned long)waited);
            return 1;
        }
        memcpy(ShotPixels[0], ShotPixels[1], sizeof ShotPixels[0]);
    }
}

static HWND FindShow(void)
{
    HWND show = FindWindowA("MultimediaBase Class", "Sprite");
    if (!show)
        printf("no show running\n");
    return show;
}

// A window of this program comes in front over the show's monitor, as another
// application's would. Where the system leaves the show in front, the show is told what
// Windows tells it when another application takes the foreground, and again on the return.
static int PutWindowInFront(HWND show, DWORD ms, int stay)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszClassName = "ZarnDisturbance";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "Another program", WS_POPUP | WS_VISIBLE,
                                  100, 100, 300, 200, NULL, NULL, windowClass.hInstance, NULL);
    SetForegroundWindow(window);
    PumpFor(100);
    int told = GetForegroundWindow() != window;
    if (told)
        SendMessageTimeoutA(show, WM_ACTIVATEAPP, FALSE, 0, SMTO_NORMAL, 5000, NULL);
    // Out of the foreground the show rests: nothing of its screen changes meanwhile.
    PumpFor(ms / 2);
    TakeShot(ShotPixels[0]);
    PumpFor(ms / 2);
    TakeShot(ShotPixels[1]);
    int rested = CountChanged() <= MOVED_PIXELS;
    printf("in front (%s): the show %s; ", told ? "WM_ACTIVATEAPP FALSE sent" : "by SetForegroundWindow",
           rested ? "rested" : "drew on");
    // Left in front, the show must end by itself: its window goes.
    if (stay) {
        DWORD start = GetTickCount();
        while (IsWindow(show) && GetTickCount() - start < 15000)
            PumpFor(50);
        printf("%s after %lu ms\n", IsWindow(show) ? "still there" : "ended", (unsigned long)(GetTickCount() - start + ms));
        return IsWindow(show) || !rested;
    }
    DestroyWindow(window);
    DWORD closed = GetTickCount();
    if (told)
        SendMessageTimeoutA(show, WM_ACTIVATEAPP, TRUE, 0, SMTO_NORMAL, 5000, NULL);
    else if (GetForegroundWindow() != show)
        SetForegroundWindow(show);
    return WatchShow(closed) || !rested;
}

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "";
    if (strcmp(command, "click") == 0 && argc == 4) {
        HWND window = FindWindowA(NULL, argv[2]);
        if (!window) {
            printf("no window %s\n", argv[2]);
            return 1;
        }
        PostMessageA(GetDlgItem(window, atoi(argv[3])), BM_CLICK, 0, 0);
        return 0;
    }
    HWND show = FindShow();
    if (!show)
        return 1;
    if (strcmp(command, "front") == 0 && argc == 3)
        return PutWindowInFront(show, (DWORD)atoi(argv[2]), 0);
    if (strcmp(command, "away") == 0)
        return PutWindowInFront(show, 1000, 1);
    if (strcmp(command, "display-change") == 0) {
        DWORD start = GetTickCount();
        HDC screen = GetDC(NULL);
        WPARAM depth = (WPARAM)GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(NULL, screen);
        // What Windows sends every top-level window once the display's mode has changed.
        SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, depth,
                            MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), SMTO_NORMAL,
                            5000, NULL);
        return WatchShow(start);
    }
    if (strcmp(command, "watch") == 0)
        return WatchShow(GetTickCount());
    fprintf(stderr, "usage: disturb front MS | away | display-change | watch | click TITLE ID\n");
    return 2;
}
