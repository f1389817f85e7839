#include "gui/gadget.h"

#include <commctrl.h>

#include "gui/gadget_table.h"
#include "gui/table.h"
#include "runtime/program.h"
#include "runtime/strings.h"

GadgetEntry* GadgetTable;
int32_t GadgetCapacity;
HWND GadgetParent;

static HGDIOBJ GadgetFont;

enum {
    LABEL_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP,
    BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP,
    TEXT_FIELD_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
    NO_EDGE_STYLE = 0x20000
};

static int32_t GetButtonCheck(HWND control)
{
    return (int32_t)SendMessageA(control, BM_GETCHECK, 0, 0);
}

static void SetButtonCheck(HWND control, int32_t value)
{
    SendMessageA(control, BM_SETCHECK, (WPARAM)(LONG_PTR)value, 0);
}

static const GadgetOperations LabelOperations = {NULL, NULL, NULL, NULL};
static const GadgetOperations ButtonOperations = {GetButtonCheck, SetButtonCheck, NULL, NULL};
static const GadgetOperations TextFieldOperations = {NULL, NULL, NULL, NULL};

void InitGadgetSystem(void)
{
    GadgetParent = NULL;
    GadgetCapacity = GADGET_TABLE_START;
    GadgetTable = (GadgetEntry*)AllocateTable(GadgetCapacity, sizeof(GadgetEntry));
    if (!GadgetTable)
        GadgetCapacity = 0;
    GadgetFont = GetStockObject(ANSI_VAR_FONT);
    InitCommonControls();
}

HWND BeginGadgetList(HWND window)
{
    GadgetParent = window;
    return window;
}

HWND CreateGadget(int32_t gadget, const char* className, const char* text, uint32_t style, uint32_t extendedStyle,
                  int32_t x, int32_t y, int32_t width, int32_t height, const GadgetOperations* operations)
{
    if (!MakeRoomInTable((void**)&GadgetTable, &GadgetCapacity, gadget, GADGET_TABLE_STEP, sizeof(GadgetEntry)))
        return NULL;
    HWND control = CreateWindowExA(extendedStyle, className, text ? text : "", style, x, y, width, height,
                                   GadgetParent, (HMENU)(LONG_PTR)gadget, InstanceHandle, NULL);
    GadgetTable[gadget].handle = control;
    GadgetTable[gadget].operations = operations;
    if (control)
        SendMessageA(control, WM_SETFONT, (WPARAM)GadgetFont, TRUE);
    return control;
}

HWND AddLabel(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return CreateGadget(gadget, "STATIC", text, LABEL_STYLE, 0, x, y, width, height, &LabelOperations);
}

HWND AddButton(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return CreateGadget(gadget, "BUTTON", text, BUTTON_STYLE, 0, x, y, width, height, &ButtonOperations);
}

HWND AddTextField(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                  uint32_t style)
{
    uint32_t edge = (style & NO_EDGE_STYLE) ? 0 : WS_EX_CLIENTEDGE;
    return CreateGadget(gadget, "EDIT", text, style | TEXT_FIELD_STYLE, edge, x, y, width, height,
                        &TextFieldOperations);
}

static const GadgetEntry* FindGadget(int32_t gadget)
{
    static const GadgetEntry unused = {NULL, NULL};
    if (!GadgetTable || gadget < 0 || gadget >= GadgetCapacity || !GadgetTable[gadget].operations)
        return &unused;
    return &GadgetTable[gadget];
}

int32_t GetGadgetValue(int32_t gadget)
{
    const GadgetEntry* entry = FindGadget(gadget);
    if (!entry->operations || !entry->operations->getValue)
        return 0;
    return entry->operations->getValue(entry->handle);
}

void SetGadgetValue(int32_t gadget, int32_t value)
{
    const GadgetEntry* entry = FindGadget(gadget);
    if (entry->operations && entry->operations->setValue)
        entry->operations->setValue(entry->handle, value);
}

// GetWindowTextA never writes past the scratch area, and never more than 31,999 characters.
static char* ReadWindowText(HWND control, char* out)
{
    enum { MOST_READ = 32000 };
    out = ClampToScratch(out);
    int32_t room = ScratchRoom(out) + 1;
    if (room > MOST_READ)
        room = MOST_READ;
    int copied = control ? GetWindowTextA(control, out, room) : 0;
    if (copied < 0)
        copied = 0;
    out[copied] = 0;
    ScratchCursor = out + copied;
    return out;
}

char* ReadGadgetText(int32_t gadget, char* out)
{
    const GadgetEntry* entry = FindGadget(gadget);
    if (entry->operations && entry->operations->getText)
        return entry->operations->getText(entry->handle, out);
    return ReadWindowText(entry->handle, out);
}

void WriteGadgetText(int32_t gadget, const char* text)
{
    const GadgetEntry* entry = FindGadget(gadget);
    if (!entry->operations)
        return;
    if (entry->operations->setText)
        entry->operations->setText(entry->handle, text);
    else
        SetWindowTextA(entry->handle, text ? text : "");
}
