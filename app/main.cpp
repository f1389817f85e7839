#include <windows.h>

#include "app/app.h"
#include "app/copies.h"
#include "app/settings.h"
#include "app/show.h"
#include "app/switch.h"
#include "gui/gadget.h"
#include "gui/window.h"
#include "image/image.h"
#include "prefs/prefs.h"
#include "runtime/program.h"
#include "runtime/random.h"
#include "runtime/strings.h"
#include "runtime/text.h"
#include "runtime/timer.h"
#include "screen/keyboard.h"
#include "screen/screen.h"
#include "screen/sprite3d.h"

static HANDLE GuardMutex;
static char* Switch;

static void InitialiseLibraries(void)
{
    ResetImageDecoders();
    InitGadgetSystem();
    InitWindowSystem();
    SeedRandomFromClock();
    InitSettingsFile();
}

static void EndLibraries(void)
{
    EndKeyboard();
    CloseSettingsFile();
    // The 3-D device draws into the screen's surfaces: it ends before them.
    EndSprite3DSystem();
    EndSpriteSystem();
    CloseSystemTimer();
    CloseAllWindows();
}

void FindSettingsDir(void)
{
    enum { PATH_ROOM = 1000 };
    char* path = NULL;
    AssignFromScratch(&path, Spaces(PATH_ROOM, ScratchCursor));
    if (path)
        ReadProgramPath(path, PATH_ROOM);
    AssignFromScratch(&SettingsDir, DirectoryPart(path, ScratchCursor));
    FreeString(path);
    LoadSettings(SettingsDir);
}

void ZarnMain(void* instance, void* previous, const char* commandTail, int showState)
{
    (void)previous;
    (void)commandTail;
    (void)showState;
    SpriteCount = 0;
    FrameDelay = 0;
    SpriteIndex = 0;
    SettingsDir = NULL;
    Switch = NULL;
    GuardMutex = NULL;

    StartProgram((HINSTANCE)instance, InitialiseLibraries, EndLibraries);
    AllocateCopyTables();

    GuardMutex = CreateMutexA(NULL, TRUE, "Zarn-Screensaver");
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        EndProgram();

    FindSettingsDir();
    ReadSwitch(&Switch);
    switch (SelectMode(Switch)) {
    case MODE_CONFIGURE:
        RunConfiguration();
    case MODE_SHOW:
        RunShow();
    case MODE_NONE:
        break;
    }
    EndProgram();
}
