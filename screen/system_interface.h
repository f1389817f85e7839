#pragma once
// An interface of a system library loaded at run time (DirectDraw, DirectInput) from the
// system folder, with a count of its uses: the library is loaded and the interface made
// at the first use, and both are given back at the last.
#include <windows.h>
#include <unknwn.h>
#include <stdint.h>

typedef struct SystemInterface {
    HMODULE module;
    IUnknown* object;
    int32_t uses;
} SystemInterface;

// Calls the library's creation procedure to make the interface at *object.
typedef void (*CreateInterface)(FARPROC procedure, void** object);

// Counts a use, also when the interface cannot be had; gives the interface or NULL.
IUnknown* UseSystemInterface(SystemInterface* held, const char* library, const char* procedure,
                             CreateInterface create);
// Gives back one use; the interface while uses remain, NULL once it is released.
IUnknown* DropSystemInterface(SystemInterface* held);
