#include "gui/gadget.h"

#include "gui/internal.h"
#include "runtime/program.h"
#include "runtime/strings.h"
#include "runtime/system_library.h"
#include "runtime/table.h"

typedef struct GadgetEntry {
    HWND handle;
    const GadgetOperations* operations; // NULL for a number never used
} GadgetEntry;

enum { GADGET_TABLE_START = 30, GADGET_TABLE_STEP = 30, GADGET_TABLE_SPARE = 2 };

static NumberedTable Gadgets;
static HWND GadgetParent;
static HGDIOBJ GadgetFont;
static HMODULE CommonControls;

typedef void(WINAPI* InitCommonControlsProc)(void);

enum {
    LABEL_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP,
    BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP,
    TEXT_FIELD_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
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

// Labels, buttons and fields: the layer's font, and an emptied slot when they fail.
static const uint32_t PLAIN_GADGET = GADGET_TAKES_FONT | GADGET_FAILURE_CLEARS_SLOT;

// The trackbar's window class lives in COMCTL32: it stays loaded for the program's
// whole life. Without it no trackbar can be made.
static void InitCommonControlsLibrary(void)
{
    static const char* const names[] = {"InitCommonControls"};
    static FARPROC found;
    if (!CommonControls)
        CommonControls = LoadSystemProcedures("COMCTL32.DLL", names, &found, 1);
    if (found)
        ((InitCommonControlsProc)(void*)found)();
}

void InitGadgetSystem(void)
{
    GadgetParent = NULL;
    CreateTable(&Gadgets, GADGET_TABLE_START, GADGET_TABLE_STEP, GADGET_TABLE_SPARE, sizeof(GadgetEntry));
    GadgetFont = GetStockObject(ANSI_VAR_FONT);
    InitCommonControlsLibrary();
}

HWND BeginGadgetList(HWND window)
{
    GadgetParent = window;
    return window;
}

HWND CreateGadget(int32_t gadget, const char* className, const char* text, uint32_t style, uint32_t extendedStyle,
                  int32_t x, int32_t y, int32_t width, int32_t height, const GadgetOperations* operations,
                  uint32_t kindFlags)
{
    if (!MakeRoomInTable(&Gadgets, gadget))
        return NULL;
    HWND control = CreateWindowExA(extendedStyle, className, text, style, x, y, width, height, GadgetParent,
                                   (HMENU)(LONG_PTR)gadget, InstanceHandle, NULL);
    if (!control && !(kindFlags & GADGET_FAILURE_CLEARS_SLOT))
        return NULL;
    GadgetEntry* entry = (GadgetEntry*)FindTableEntry(&Gadgets, gadget);
    entry->handle = control;
    entry->operations = operations;
    if (control && (kindFlags & GADGET_TAKES_FONT))
        SendMessageA(control, WM_SETFONT, (WPARAM)GadgetFont, TRUE);
    return control;
}

HWND AddLabel(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return CreateGadget(gadget, "STATIC", text ? text : "", LABEL_STYLE, 0, x, y, width, height, &LabelOperations,
                        PLAIN_GADGET);
}

HWND AddButton(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return CreateGadget(gadget, "BUTTON", text ? text : "", BUTTON_STYLE, 0, x, y, width, height, &ButtonOperations,
                        PLAIN_GADGET);
}

HWND AddTextField(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                  uint32_t style)
{
    uint32_t edge = (style & TEXT_FIELD_NO_EDGE) ? 0 : WS_EX_CLIENTEDGE;
    return CreateGadget(gadget, "EDIT", text ? text : "", style | TEXT_FIELD_STYLE, edge, x, y, width, height,
                        &TextFieldOperations, PLAIN_GADGET);
}

static const GadgetEntry* FindGadget(int32_t gadget)
{
    static const GadgetEntry unused = {NULL, NULL};
    const GadgetEntry* entry = (const GadgetEntry*)FindTableEntry(&Gadgets, gadget);
    return entry && entry->operations ? entry : &unused;
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
