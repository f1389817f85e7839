#include <windows.h>
#include <commctrl.h>

#include "gui/internal.h"
#include "gui/window.h"

// Left by the window procedure for WaitForEvent.
typedef struct EventRecord {
    int32_t kind;    // pending event code, 0 for none
    int32_t number;  // control, command or item of the last event
    int32_t subtype; // click kind or notification code
} EventRecord;

static EventRecord EventState;

void ResetEventState(void)
{
    EventState = EventRecord{};
}

int32_t WaitForEvent(void)
{
    EventState.subtype = -1;
    MSG message = {};
    GetMessageA(&message, NULL, 0, 0);
    HWND active = GetActiveWindow();
    HACCEL accelerators = FindWindowAccelerators(active);
    if (!accelerators || !TranslateAcceleratorA(active, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    int32_t result = EventState.kind ? EventState.kind : (int32_t)message.message;
    EventState.kind = 0;
    return result;
}

int32_t EventGadgetNumber(void)
{
    return EventState.number;
}

// Only the first four letters of a control's class tell its kind.
static int ClassStartsWith(HWND control, const char* prefix)
{
    char name[50] = {0};
    GetClassNameA(control, name, sizeof name);
    return name[0] == prefix[0] && name[1] == prefix[1] && name[2] == prefix[2] && name[3] == prefix[3];
}

static int32_t ControlId(HWND control)
{
    return (int32_t)GetWindowLongPtrA(control, GWLP_ID);
}

static void RaiseGadget(int32_t number)
{
    EventState.kind = EVENT_GADGET;
    EventState.number = number;
}

// Clicks and selections in tree and list views.
static int TakeViewNotification(const NMHDR* header)
{
    if (!ClassStartsWith(header->hwndFrom, "SysT") && !ClassStartsWith(header->hwndFrom, "SysL"))
        return 0;
    int matched = 1;
    switch ((int32_t)header->code) {
    case (int32_t)NM_CLICK: EventState.subtype = 0; break;
    case (int32_t)NM_DBLCLK: EventState.subtype = 2; break;
    case (int32_t)NM_RCLICK: EventState.subtype = 1; break;
    case (int32_t)NM_RDBLCLK: EventState.subtype = 3; break;
    case (int32_t)LVN_ITEMACTIVATE: EventState.subtype = 2; break;
    case (int32_t)TVN_SELCHANGEDA:
    case (int32_t)LVN_ITEMCHANGED: break;
    default: matched = 0;
    }
    if (matched)
        RaiseGadget((int32_t)header->idFrom);
    return matched;
}

static void TakeNotification(const NMHDR* header)
{
    if (TakeViewNotification(header))
        return;
    if ((int32_t)header->code == (int32_t)UDN_DELTAPOS) {
        RaiseGadget((int32_t)header->idFrom);
        EventState.subtype = ((const NMUPDOWN*)header)->iDelta;
    }
}

static void TakeCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = (HWND)lParam;
    int32_t command = LOWORD(wParam);
    int32_t code = HIWORD(wParam);
    if (control) {
        RaiseGadget(command);
        EventState.subtype = code;
        if (ControlId(control) == -10000)
            EventState.kind = EVENT_MENU;
        if (ClassStartsWith(control, "List")) {
            if (code == LBN_SELCHANGE)
                EventState.subtype = 0;
            else if (code != LBN_DBLCLK)
                EventState.kind = 0;
        }
    } else if (code == 0) {
        EventState.kind = EVENT_MENU;
        EventState.number = (int32_t)wParam;
    } else if (command == CMD_FOCUS_NEXT) {
        FocusNextControl();
    } else if (command == CMD_FOCUS_PREVIOUS) {
        FocusPreviousControl();
    } else {
        EventState.kind = EVENT_MENU;
        EventState.number = command;
    }
}

static void TakeItemEvent(WPARAM item, LPARAM mouseMessage)
{
    EventState.kind = 0;
    EventState.number = (int32_t)item;
    int32_t subtype;
    switch ((UINT)mouseMessage) {
    case WM_LBUTTONUP: subtype = 0; break;
    case WM_RBUTTONUP: subtype = 1; break;
    case WM_LBUTTONDBLCLK: subtype = 2; break;
    case WM_RBUTTONDBLCLK: subtype = 3; break;
    default: return;
    }
    EventState.kind = EVENT_ITEM_CLICK;
    EventState.subtype = subtype;
}

LRESULT CALLBACK AppWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
        if (lParam)
            TakeNotification((const NMHDR*)lParam);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        RaiseGadget(ControlId((HWND)lParam));
        return 0;
    case WM_COMMAND:
        TakeCommand(wParam, lParam);
        return 0;
    case MSG_ITEM_EVENT:
        TakeItemEvent(wParam, lParam);
        return 0;
    case MSG_SIZE_EVENT:
        EventState.kind = EVENT_SIZE;
        return 0;
    // Size and item notices travel through the queue so each ends a wait of its own.
    case WM_SIZE:
        PostMessageA(window, MSG_SIZE_EVENT, wParam, lParam);
        return 0;
    case MSG_ITEM_NOTIFY:
        PostMessageA(window, MSG_ITEM_EVENT, wParam, lParam);
        return 0;
    case WM_CLOSE:
        EventState.kind = EVENT_CLOSE;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
