#include "gui/window.h"

#include <string.h>

#include "gui/internal.h"
#include "runtime/heap.h"
#include "runtime/program.h"
#include "runtime/table.h"

typedef struct WindowEntry {
    HWND handle;
    int32_t acceleratorCount;
    ACCEL* accelerators;
    HACCEL acceleratorTable;
} WindowEntry;

enum { WINDOW_TABLE_START = 10, WINDOW_TABLE_STEP = 10, WINDOW_TABLE_SPARE = 2 };

static NumberedTable Windows;
static HWND CurrentWindow;
static HBRUSH BackgroundBrush;
static WNDCLASSA ClassTemplate;
// Every window gets a class of its own, named after its number.
static char ClassNameBuffer[32];

static void FormatClassName(int32_t window)
{
    wsprintfA(ClassNameBuffer, "WindowClass_%ld", (long)window);
}

void InitWindowSystem(void)
{
    CurrentWindow = NULL;
    ResetEventState();
    CreateTable(&Windows, WINDOW_TABLE_START, WINDOW_TABLE_STEP, WINDOW_TABLE_SPARE, sizeof(WindowEntry));

    LOGBRUSH brush = {BS_SOLID, GetSysColor(COLOR_BTNFACE), 0};
    BackgroundBrush = CreateBrushIndirect(&brush);
    memset(&ClassTemplate, 0, sizeof ClassTemplate);
    ClassTemplate.lpfnWndProc = AppWindowProcedure;
    ClassTemplate.hInstance = InstanceHandle;
    ClassTemplate.hIcon = LoadIconA(InstanceHandle, MAKEINTRESOURCEA(1));
    ClassTemplate.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    ClassTemplate.hbrBackground = BackgroundBrush;
    ClassTemplate.lpszClassName = "TemplateClass";
    RegisterClassA(&ClassTemplate);
    ClassTemplate.lpszClassName = ClassNameBuffer;
}

static WindowEntry* FindWindowSlot(int32_t window)
{
    return (WindowEntry*)FindTableEntry(&Windows, window);
}

HACCEL FindWindowAccelerators(HWND window)
{
    if (!window)
        return NULL;
    for (int32_t number = 0; number < Windows.capacity; number++) {
        WindowEntry* slot = FindWindowSlot(number);
        if (slot->handle == window)
            return slot->acceleratorTable;
    }
    return NULL;
}

static void BuildAccelerators(WindowEntry* slot)
{
    slot->acceleratorCount = 2;
    slot->accelerators = (ACCEL*)AllocateZeroedBlock(2 * sizeof(ACCEL));
    if (!slot->accelerators)
        return;
    slot->accelerators[0].fVirt = FVIRTKEY | FNOINVERT;
    slot->accelerators[0].key = VK_TAB;
    slot->accelerators[0].cmd = CMD_FOCUS_NEXT;
    slot->accelerators[1].fVirt = FVIRTKEY | FNOINVERT | FSHIFT;
    slot->accelerators[1].key = VK_TAB;
    slot->accelerators[1].cmd = CMD_FOCUS_PREVIOUS;
    slot->acceleratorTable = CreateAcceleratorTableA(slot->accelerators, 2);
}

static void PlaceWindow(int32_t centring, int32_t outerWidth, int32_t outerHeight, int32_t* x, int32_t* y)
{
    HWND active = centring == CENTRE_ACTIVE ? GetActiveWindow() : NULL;
    if (active) {
        RECT around;
        GetWindowRect(active, &around);
        CentreOnRectangle(around.left, around.top, around.right, around.bottom, outerWidth, outerHeight, x, y);
    } else if (centring != CENTRE_NONE) {
        CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), outerWidth, outerHeight,
                       x, y);
    }
}

HWND OpenAppWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags,
                   const char* title)
{
    if (!MakeRoomInTable(&Windows, window))
        return NULL;
    CloseAppWindow(window);
    FormatClassName(window);
    RegisterClassA(&ClassTemplate);

    WindowPlacement placement = SplitWindowFlags(flags);
    RECT outer = {x, y, x + width, y + height};
    AdjustWindowRect(&outer, placement.style, FALSE);
    int32_t outerWidth = outer.right - outer.left;
    int32_t outerHeight = outer.bottom - outer.top;
    PlaceWindow(placement.centring, outerWidth, outerHeight, &x, &y);

    HWND handle = CreateWindowExA(0, ClassNameBuffer, title ? title : "", placement.style, x, y, outerWidth,
                                  outerHeight, NULL, NULL, InstanceHandle, NULL);
    WindowEntry* slot = FindWindowSlot(window);
    slot->handle = handle;
    if (!handle)
        return NULL;
    CurrentWindow = handle;
    BuildAccelerators(slot);
    return handle;
}

HWND CurrentWindowHandle(void)
{
    return CurrentWindow;
}

void CloseAppWindow(int32_t window)
{
    WindowEntry* slot = FindWindowSlot(window);
    if (!slot || !slot->handle)
        return;
    HWND handle = slot->handle;
    slot->handle = NULL;
    DestroyWindow(handle);
    FormatClassName(window);
    UnregisterClassA(ClassNameBuffer, InstanceHandle);
    if (slot->acceleratorCount) {
        FreeBlock(slot->accelerators);
        if (slot->acceleratorTable)
            DestroyAcceleratorTable(slot->acceleratorTable);
        slot->acceleratorCount = 0;
        slot->accelerators = NULL;
        slot->acceleratorTable = NULL;
    }
}

void CloseAllWindows(void)
{
    for (int32_t window = Windows.capacity - 1; window >= 0; window--)
        CloseAppWindow(window);
}
