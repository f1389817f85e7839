#include <windows.h>

#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "gui/gadget.h"
#include "gui/window.h"
#include "runtime/program.h"
#include "runtime/strings.h"
#include "runtime/text.h"

enum {
    COUNT_TRACKBAR = 0,
    COUNT_TITLE = 1,
    COUNT_LEFT_END = 2,
    COUNT_RIGHT_END = 3,
    OK_BUTTON = 4,
    CANCEL_BUTTON = 5,
    COUNT_FIELD = 6,
    DELAY_TITLE = 7,
    DELAY_FIELD = 8
};

static_assert(LARGEST_COPY_COUNT == 100, "the label under the trackbar's right end says 100");

static const uint32_t CONFIG_WINDOW_FLAGS = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WINDOW_CENTER_SCREEN;

// Without the common controls there is no trackbar: the dialog then keeps the count it
// read, instead of storing the 0 that an absent gadget gives.
static int32_t HasCountTrackBar;

// Non-zero when window 0 and its gadgets are there.
static int32_t OpenConfigWindow(void)
{
    if (!OpenAppWindow(0, 245, 216, 300, 130, CONFIG_WINDOW_FLAGS, "Zarn Screensaver Configuration"))
        return 0;
    if (!BeginGadgetList(CurrentWindowHandle()))
        return 0;
    HasCountTrackBar = AddTrackBar(COUNT_TRACKBAR, 10, 30, 280, 20, 1, LARGEST_COPY_COUNT) != NULL;
    AddLabel(COUNT_TITLE, 10, 10, 90, 20, "Count of zarns:");
    AddLabel(COUNT_LEFT_END, 30, 50, 20, 18, "1");
    AddLabel(COUNT_RIGHT_END, 250, 50, 20, 18, "100");
    AddButton(OK_BUTTON, 10, 100, 70, 20, "OK");
    AddButton(CANCEL_BUTTON, 220, 100, 70, 20, "Cancel");
    AddTextField(COUNT_FIELD, 96, 8, 54, 20, "", ES_READONLY);
    AddLabel(DELAY_TITLE, 10, 70, 130, 20, "Delay (0 - 1000ms, 0 = off):");
    AddTextField(DELAY_FIELD, 140, 70, 100, 20, "", ES_NUMBER);
    return 1;
}

static void ShowNumber(int32_t gadget, int32_t value)
{
    char* start = ScratchCursor;
    WriteGadgetText(gadget, NumberToString(value, start));
    ScratchCursor = start;
}

// The delay typed in the field. Digits beyond what 32 bits hold would wrap round to a
// small delay the user never typed, so such a text reads as out of range instead.
static int32_t DelayFromText(const char* text)
{
    int32_t delay = StringToNumber(text);
    while (*text == ' ')
        text++;
    if (*text == '-' || *text == '+')
        text++;
    while (*text == '0')
        text++;
    size_t digits = strspn(text, "0123456789");
    if (digits > 10 || (digits == 10 && strncmp(text, "2147483647", 10) > 0))
        return INT32_MAX;
    return delay;
}

// Takes both values from the dialog; 1 when they are stored and the dialog may end.
static int32_t ConfirmSettings(void)
{
    if (HasCountTrackBar)
        SpriteCount = GetGadgetValue(COUNT_TRACKBAR);
    char* start = ScratchCursor;
    FrameDelay = DelayFromText(ReadGadgetText(DELAY_FIELD, start));
    ScratchCursor = start;
    if (!AcceptDelay(FrameDelay))
        return 0;
    if (SaveSettings(SettingsDir))
        return 1;
    // Leaving silently would let the user believe the settings were kept.
    ShowAppMessage("The settings could not be saved: Zarn_Scr.ini or its folder cannot be written to. "
                   "Press OK again once it can, or leave with Cancel.");
    return 0;
}

void RunConfiguration(void)
{
    // Without the window no event could ever come.
    if (!OpenConfigWindow())
        EndProgram();
    SetGadgetValue(COUNT_TRACKBAR, SpriteCount);
    ShowNumber(COUNT_FIELD, SpriteCount);
    ShowNumber(DELAY_FIELD, FrameDelay);

    int32_t finished = 0;
    int32_t event;
    do {
        event = WaitForEvent();
        if (event != EVENT_GADGET)
            continue;
        switch (EventGadgetNumber()) {
        case OK_BUTTON:
            finished = ConfirmSettings();
            break;
        case COUNT_TRACKBAR:
            ShowNumber(COUNT_FIELD, GetGadgetValue(COUNT_TRACKBAR));
            break;
        case CANCEL_BUTTON:
            finished = 1;
            break;
        default:
            break;
        }
    } while (event != EVENT_CLOSE && !finished);
    EndProgram();
}
