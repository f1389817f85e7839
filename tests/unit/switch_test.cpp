#include <string>

#include "app/switch.h"
#include "runtime/text.h"
#include "scratch_fixture.h"

// The mode a first parameter selects, through the same steps the program takes.
static ProgramMode ModeOf(const char* parameter, std::string* reduced = nullptr)
{
    ScratchCursor = ScratchArea;
    char* text = NULL;
    AssignFromScratch(&text, UpperCase(parameter, ScratchCursor));
    ReduceSwitch(&text);
    if (reduced)
        *reduced = text ? text : "";
    ProgramMode mode = SelectMode(text);
    FreeString(text);
    return mode;
}

TEST(Switch, ReductionKeepsOneLetter)
{
    std::string reduced;
    ModeOf("/c:1234", &reduced);
    EXPECT_EQ(reduced, "C");
    ModeOf("//s", &reduced);
    EXPECT_EQ(reduced, "S");
    ModeOf("s", &reduced);
    EXPECT_EQ(reduced, "") << "a bare letter is taken for the mark";
    ModeOf("", &reduced);
    EXPECT_EQ(reduced, "");
    ModeOf("-S", &reduced);
    EXPECT_EQ(reduced, "S");
    ModeOf("xs", &reduced);
    EXPECT_EQ(reduced, "S");
}

TEST(Switch, EveryFormSelectsItsMode)
{
    EXPECT_EQ(ModeOf(""), MODE_CONFIGURE);
    EXPECT_EQ(ModeOf("/c"), MODE_CONFIGURE);
    EXPECT_EQ(ModeOf("/C"), MODE_CONFIGURE);
    EXPECT_EQ(ModeOf("/c:1234"), MODE_CONFIGURE);
    EXPECT_EQ(ModeOf("S"), MODE_CONFIGURE);
    EXPECT_EQ(ModeOf("/S"), MODE_SHOW);
    EXPECT_EQ(ModeOf("/s"), MODE_SHOW);
    EXPECT_EQ(ModeOf("-s"), MODE_SHOW);
    EXPECT_EQ(ModeOf("//s"), MODE_SHOW);
    EXPECT_EQ(ModeOf("/p"), MODE_NONE);
    EXPECT_EQ(ModeOf("/a"), MODE_NONE);
    EXPECT_EQ(ModeOf("/x"), MODE_NONE);
    EXPECT_EQ(ModeOf("/"), MODE_CONFIGURE) << "a mark alone leaves nothing";
}
