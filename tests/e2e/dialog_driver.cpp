#include "dialog_driver.h"

#include <commctrl.h>

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    WindowSearch* search = (WindowSearch*)data;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[200] = {0};
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && IsWindowVisible(window) && strcmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForProcessWindow(DWORD processId, const char* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        WindowSearch search = {processId, title, NULL};
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

static const UINT SEND_TIMEOUT_MS = 5000;

static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &result);
    return (LRESULT)result;
}

std::string ControlText(HWND dialog, int control)
{
    char text[300] = {0};
    Send(GetDlgItem(dialog, control), WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

void SetControlText(HWND dialog, int control, const char* text)
{
    Send(GetDlgItem(dialog, control), WM_SETTEXT, 0, (LPARAM)text);
}

std::string WaitForControlText(HWND dialog, int control, const std::string& expected, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    std::string text = ControlText(dialog, control);
    while (text != expected && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        text = ControlText(dialog, control);
    }
    return text;
}

bool WaitForDialogFilled(HWND dialog, int firstField, int secondField, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (ControlText(dialog, firstField).empty() || ControlText(dialog, secondField).empty()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// Clicks and scroll notices are posted: they then queue behind whatever the dialog has
// not handled yet, as real input does. A sent one would be handled inside the dialog's
// GetMessageA, where a queued event handled next could overwrite it.
void ClickButton(HWND dialog, int control)
{
    PostMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

int TrackBarPosition(HWND dialog, int control)
{
    return (int)Send(GetDlgItem(dialog, control), TBM_GETPOS, 0, 0);
}

void MoveTrackBar(HWND dialog, int control, int position)
{
    HWND track = GetDlgItem(dialog, control);
    Send(track, TBM_SETPOS, TRUE, position);
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), (LPARAM)track);
}

void RequestClose(HWND dialog)
{
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

static BOOL CALLBACK JoinStaticText(HWND control, LPARAM data)
{
    char className[20] = {0};
    GetClassNameA(control, className, sizeof className);
    if (_stricmp(className, "Static") == 0) {
        char text[300] = {0};
        Send(control, WM_GETTEXT, sizeof text, (LPARAM)text);
        *(std::string*)data += text;
    }
    return TRUE;
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, JoinStaticText, (LPARAM)&text);
    return text;
}

void AnswerMessageBox(HWND box)
{
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}
