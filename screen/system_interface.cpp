#include "screen/system_interface.h"

#include "runtime/system_library.h"

IUnknown* UseSystemInterface(SystemInterface* held, const char* library, const char* procedure,
                             CreateInterface create)
{
    if (!held->object) {
        FARPROC found;
        held->module = LoadSystemProcedures(library, &procedure, &found, 1);
        if (found)
            create(found, (void**)&held->object);
        if (!held->object && held->module)
            FreeLibrary(held->module);
        if (!held->object)
            held->module = NULL;
    }
    held->uses++;
    return held->object;
}

IUnknown* DropSystemInterface(SystemInterface* held)
{
    held->uses--;
    if (held->object && held->uses == 0) {
        held->object->Release();
        FreeLibrary(held->module);
        held->module = NULL;
        held->object = NULL;
    }
    return held->object;
}
