#define DIRECTINPUT_VERSION 0x0700
#include "screen/keyboard.h"

#include <windows.h>
#include <dinput.h>
#include <string.h>

#include "runtime/heap.h"
#include "runtime/program.h"
#include "screen/screen.h"
#include "screen/system_interface.h"

enum { KEY_COUNT = 256 };
// Key events DirectInput keeps between two polls; a frame sees far fewer.
enum { KEY_EVENT_ROOM = 64 };
enum { DEVICE_NONE = 0, DEVICE_FORMAT_SET = 1, DEVICE_ACQUIRED = 2 };

static IDirectInput7A* DirectInput;
static SystemInterface DirectInputLibrary;
static int32_t KeyboardStarted;
static IDirectInputDevice7A* KeyboardDevice;
static int32_t KeyboardState;
static uint8_t KeyTable[KEY_COUNT];
static DIDATAFORMAT KeyboardFormat;
static DIOBJECTDATAFORMAT* KeyObjects;

typedef HRESULT(WINAPI* DirectInputCreateExProc)(HINSTANCE, DWORD, REFIID, void**, IUnknown*);

static void CreateDirectInput(FARPROC procedure, void** object)
{
    ((DirectInputCreateExProc)(void*)procedure)(InstanceHandle, 0x0700, IID_IDirectInput7A, object, NULL);
}

IDirectInput7A* LoadDirectInput(void)
{
    return DirectInput = (IDirectInput7A*)UseSystemInterface(&DirectInputLibrary, "DINPUT.DLL",
                                                             "DirectInputCreateEx", CreateDirectInput);
}

void ReleaseDirectInput(void)
{
    DirectInput = (IDirectInput7A*)DropSystemInterface(&DirectInputLibrary);
}

// The standard keyboard format: one optional button per key code, at its own offset.
static int32_t BuildKeyboardFormat(void)
{
    if (!KeyObjects)
        KeyObjects = (DIOBJECTDATAFORMAT*)AllocateZeroedBlock(KEY_COUNT * sizeof(DIOBJECTDATAFORMAT));
    if (!KeyObjects)
        return 0;
    for (DWORD code = 0; code < KEY_COUNT; code++) {
        KeyObjects[code].pguid = &GUID_Key;
        KeyObjects[code].dwOfs = code;
        KeyObjects[code].dwType = DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_MAKEINSTANCE(code);
        KeyObjects[code].dwFlags = 0;
    }
    memset(&KeyboardFormat, 0, sizeof KeyboardFormat);
    KeyboardFormat.dwSize = sizeof(DIDATAFORMAT);
    KeyboardFormat.dwObjSize = sizeof(DIOBJECTDATAFORMAT);
    KeyboardFormat.dwFlags = DIDF_RELAXIS;
    KeyboardFormat.dwDataSize = KEY_COUNT;
    KeyboardFormat.dwNumObjs = KEY_COUNT;
    KeyboardFormat.rgodf = KeyObjects;
    return 1;
}

int32_t InitKeyboardInput(void)
{
    LoadDirectInput();
    KeyboardStarted = 1;
    KeyboardDevice = NULL;
    KeyboardState = DEVICE_NONE;
    if (!DirectInput || !BuildKeyboardFormat())
        return 0;
    if (DirectInput->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, (void**)&KeyboardDevice, NULL) !=
        DI_OK) {
        KeyboardDevice = NULL;
        return 0;
    }
    if (KeyboardDevice->SetDataFormat(&KeyboardFormat) != DI_OK)
        return 0;
    // Buffered key events besides the state: a press that begins and ends between two
    // polls is still seen. Without them the state alone is read.
    DIPROPDWORD room;
    room.diph.dwSize = sizeof room;
    room.diph.dwHeaderSize = sizeof room.diph;
    room.diph.dwObj = 0;
    room.diph.dwHow = DIPH_DEVICE;
    room.dwData = KEY_EVENT_ROOM;
    KeyboardDevice->SetProperty(DIPROP_BUFFERSIZE, &room.diph);
    KeyboardState = DEVICE_FORMAT_SET;
    return 1;
}

// A key pressed since the last poll counts as down in this one, even when it is up
// again by now.
static void TakePressesSinceLastPoll(void)
{
    DIDEVICEOBJECTDATA events[KEY_EVENT_ROOM];
    for (;;) {
        DWORD count = KEY_EVENT_ROOM;
        HRESULT result = KeyboardDevice->GetDeviceData(sizeof events[0], events, &count, 0);
        if (FAILED(result) || count == 0)
            return;
        for (DWORD i = 0; i < count; i++)
            if ((events[i].dwData & 0x80) && events[i].dwOfs < KEY_COUNT)
                KeyTable[events[i].dwOfs] |= 0x80;
        if (count < KEY_EVENT_ROOM)
            return;
    }
}

int32_t PollKeyboard(void)
{
    if (!KeyboardDevice)
        return 0;
    // Deferred to the first poll: by then the screen window has its final size and title.
    if (KeyboardState == DEVICE_FORMAT_SET) {
        KeyboardDevice->SetCooperativeLevel(ScreenWindowHandle(), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
        KeyboardDevice->Acquire();
        KeyboardState = DEVICE_ACQUIRED;
    }
    if (KeyboardDevice->GetDeviceState(KEY_COUNT, KeyTable) == DI_OK) {
        TakePressesSinceLastPoll();
        return 1;
    }
    KeyboardDevice->Unacquire();
    KeyboardDevice->SetCooperativeLevel(NULL, DISCL_NONEXCLUSIVE);
    KeyboardDevice->SetCooperativeLevel(ScreenWindowHandle(), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    KeyboardDevice->Acquire();
    return 0;
}

int32_t IsKeyDown(int32_t key)
{
    if (key == KEY_ANY) {
        for (int32_t code = 0; code < KEY_COUNT - 1; code++)
            if (KeyTable[code] & 0x80)
                return 1;
        return 0;
    }
    if (key < 0 || key >= KEY_COUNT)
        return 0;
    return KeyTable[key] & 0x80;
}

void EndKeyboard(void)
{
    if (!KeyboardStarted)
        return;
    if (KeyboardDevice) {
        KeyboardDevice->Unacquire();
        KeyboardDevice->SetCooperativeLevel(NULL, DISCL_NONEXCLUSIVE);
        KeyboardDevice->Release();
        KeyboardDevice = NULL;
    }
    KeyboardState = DEVICE_NONE;
    KeyboardStarted = 0;
    ReleaseDirectInput();
}
