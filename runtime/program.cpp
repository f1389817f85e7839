#include "runtime/program.h"

#include <string.h>

#include "runtime/heap.h"
#include "runtime/params.h"
#include "runtime/strings.h"

HINSTANCE InstanceHandle;
char ProgramDirectory[PROGRAM_DIRECTORY_SIZE];

static LibraryRoutine EndLibraries;

static void FillProgramDirectory(void)
{
    int32_t length = ReadProgramPath(ProgramDirectory, PROGRAM_DIRECTORY_SIZE);
    // A cut-off path would name some other directory: better none at all.
    if (length == 0 || length >= PROGRAM_DIRECTORY_SIZE) {
        ProgramDirectory[0] = 0;
        return;
    }
    char* last = strrchr(ProgramDirectory, '\\');
    if (last)
        last[1] = 0;
    else
        ProgramDirectory[0] = 0;
}

void StartProgram(HINSTANCE instance, LibraryRoutine initialiseLibraries, LibraryRoutine endLibraries)
{
    ScratchArea = NULL;
    ScratchCursor = NULL;
    ParameterCounter = 0;
    ProgramHeap = NULL;
    memset(ProgramDirectory, 0, sizeof ProgramDirectory);
    EndLibraries = NULL;

    InstanceHandle = instance;
    if (!CreateProgramHeap())
        ExitProcess(0);
    FillProgramDirectory();
    if (initialiseLibraries)
        initialiseLibraries();
    EndLibraries = endLibraries;
    if (!AllocateScratchArea())
        EndProgram();
}

void EndProgram(void)
{
    if (EndLibraries)
        EndLibraries();
    DestroyProgramHeap();
    ExitProcess(0);
}
