#include <string>
#include <vector>

#include "runtime/params.h"
#include "scratch_fixture.h"

// All parameters after the program path, as successive calls hand them out.
static std::vector<std::string> Parameters(const char* line, int calls)
{
    std::vector<std::string> result;
    for (int wanted = 1; wanted <= calls; wanted++) {
        ScratchCursor = ScratchArea;
        result.push_back(CopyParameter(line, wanted, ScratchCursor));
    }
    return result;
}

using ProgramParameters = ScratchTest;

TEST_F(ProgramParameters, TokensAsTheirCallsGiveThem)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Parameters("prog.scr /s", 3), (V{"/s", "", ""}));
    EXPECT_EQ(Parameters("\"C:\\Program Files\\Zarn\\Zarn_Scr.scr\" /p 1234", 3), (V{"/p", "1234", ""}));
    EXPECT_EQ(Parameters("prog.scr \"two words\" x", 2), (V{"two words", "x"}));
    EXPECT_EQ(Parameters("prog.scr \"\" x", 2), (V{"", "x"})) << "an empty quoted token counts";
    EXPECT_EQ(Parameters("prog.scr \"abc\"def", 2), (V{"abc", "def"}));
    EXPECT_EQ(Parameters("prog.scr /c:\"12\"", 1), (V{"/c:\"12\""}));
    EXPECT_EQ(Parameters("prog.scr \"abc", 2), (V{"abc", ""}));
    EXPECT_EQ(Parameters("prog.scr    /s   ", 2), (V{"/s", ""}));
    EXPECT_EQ(Parameters("prog.scr", 1), (V{""}));
    EXPECT_EQ(Parameters("prog.scr\t/s", 1), (V{""})) << "a tab does not separate";
    EXPECT_EQ(Parameters("", 1), (V{""}));
}

TEST_F(ProgramParameters, ParameterIsWrittenAtTheCursor)
{
    char* out = CopyParameter("prog.scr abcdef", 1, Out());
    EXPECT_EQ(out, ScratchArea);
    EXPECT_EQ(ScratchCursor, out + 6);
}

TEST_F(ProgramParameters, AVeryLongParameterIsCutAtTheAreaEnd)
{
    std::string line = "prog.scr " + std::string(100000, 'p');
    char* out = CopyParameter(line.c_str(), 1, Out());
    EXPECT_EQ(std::string(out).size(), (size_t)SCRATCH_SIZE - 1);
}

TEST_F(ProgramParameters, TheCounterOnlyGrows)
{
    // This test program was started without parameters.
    int32_t before = ParameterCounter;
    EXPECT_STREQ(NextProgramParameter(Out()), "");
    EXPECT_STREQ(NextProgramParameter(Out()), "");
    EXPECT_EQ(ParameterCounter, before + 2);
}

TEST(CommandTail, SkipsTheProgramPath)
{
    EXPECT_STREQ(SkipProgramName("prog.scr /s"), "/s");
    EXPECT_STREQ(SkipProgramName("\"C:\\My Files\\prog.scr\"   /c:1234"), "/c:1234");
    EXPECT_STREQ(SkipProgramName("\"C:\\no end /s"), "\"C:\\no end /s") << "no closing quote keeps the line";
    EXPECT_STREQ(SkipProgramName("prog.scr"), "");
    EXPECT_STREQ(SkipProgramName("\"prog.scr\"x"), "x");
}
