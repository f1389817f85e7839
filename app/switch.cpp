#include "app/switch.h"

#include "runtime/params.h"
#include "runtime/strings.h"
#include "runtime/text.h"

void ReadSwitch(char** switchText)
{
    char* start = ScratchCursor;
    NextProgramParameter(start);
    UpperCase(start, start);
    AssignFromScratch(switchText, start);
    ReduceSwitch(switchText);
}

void ReduceSwitch(char** switchText)
{
    char* start = ScratchCursor;
    char* mark = LeftChars(*switchText, 1, start);
    ScratchCursor++;
    // RemoveAll keeps its own copy of the mark, so its result may start over it.
    RemoveAll(*switchText, mark, REMOVE_IGNORE_CASE, start);
    AssignFromScratch(switchText, start);

    LeftChars(*switchText, 1, start);
    AssignFromScratch(switchText, start);
}

ProgramMode SelectMode(const char* reducedSwitch)
{
    if (StringsEqual(reducedSwitch, ""))
        return MODE_CONFIGURE;
    if (StringsEqual(reducedSwitch, "C"))
        return MODE_CONFIGURE;
    if (StringsEqual(reducedSwitch, "P"))
        return MODE_NONE;
    if (StringsEqual(reducedSwitch, "A"))
        return MODE_NONE;
    if (StringsEqual(reducedSwitch, "S"))
        return MODE_SHOW;
    return MODE_NONE;
}
