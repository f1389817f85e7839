#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <functional>
#include <string>

#include "runtime/heap.h"
#include "runtime/params.h"
#include "runtime/strings.h"
#include "runtime/table.h"
#include "runtime/text.h"
#ifdef _WIN32
#include "gui/gadget.h"
#include "gui/window.h"
#include "runtime/system_library.h"
#endif

namespace {

const std::string Long(70000, 'x');

#ifdef _WIN32
// Gadget 0: a text field holding more text than half the scratch area.
int32_t LongTextField()
{
    InitGadgetSystem();
    InitWindowSystem();
    BeginGadgetList(OpenAppWindow(0, 0, 0, 100, 50, WINDOW_HIDDEN, "long"));
    SendMessageA(AddTextField(0, 0, 0, 90, 20, "", 0), EM_SETLIMITTEXT, 40000, 0);
    WriteGadgetText(0, Long.substr(0, 32500).c_str());
    return 0;
}

// The full path systems without the search flags take: the DLL beside the program never, nor a name past the path.
TEST(SystemLibrary, WithoutSearchFlagsOnlyTheSystemFolderLoads)
{
    LibrarySearchFlags = 0;
    for (const std::string& name : {std::string("WINMM.DLL"), std::string("zarn_planted.dll"), std::string(5000, 'x')})
        EXPECT_EQ(LoadSystemProcedures(name.c_str(), NULL, NULL, 0) != NULL, name == "WINMM.DLL") << name.substr(0, 20);
}
#endif

// Every text-writing operation keeps its result and the cursor inside the scratch
// area, wherever its output position lies, and writes nothing before that position.
TEST(Scratch, NoWriterPassesTheAreaEnd)
{
    const std::string path = Long + "\\", line = "p " + Long;
    const std::function<char*(char*)> writers[] = {
        [](char* out) { ScratchCursor = out; AppendToScratch(Long.c_str()); return ClampToScratch(out); },
        [](char* out) { return LeftChars(Long.c_str(), INT_MAX, out); },
        [](char* out) { return UpperCase(Long.c_str(), out); },
        [](char* out) { return Spaces(100000, out); },
        [](char* out) { return NumberToString(INT_MIN, out); },
        [](char* out) { return UnsignedToString(UINT_MAX, 2, out); },
        [](char* out) { return HexToString(0xBEB7F232u, out); },
        [](char* out) { return RemoveAll(Long.c_str(), "y", 0, out); },
        [&](char* out) { return DirectoryPart(path.c_str(), out); },
        [&](char* out) { return CopyParameter(line.c_str(), 1, out); },
#ifdef _WIN32
        [](char* out) { static int32_t field = LongTextField(); return ReadGadgetText(field, out); },
#endif
    };
    char* last = ScratchArea + SCRATCH_SIZE - 1;
    for (size_t writer = 0; writer < sizeof writers / sizeof writers[0]; writer++) {
        for (char* out : {ScratchArea, last - 4, last, last + 3}) {
            SCOPED_TRACE(testing::Message() << "writer " << writer << " at " << out - ScratchArea);
            memset(ScratchArea, 'g', SCRATCH_SIZE);
            char* result = writers[writer](out);
            ASSERT_TRUE(result == out || (out > last && result == last));
            EXPECT_EQ(ScratchCursor, result + strlen(result));
            EXPECT_LE(ScratchCursor, last);
            EXPECT_TRUE(out == ScratchArea || out > last || out[-1] == 'g');
        }
    }
    ScratchCursor = ScratchArea;
}

TEST(Text, OperationsOverTheirInputs)
{
    ScratchCursor = ScratchArea;
    const struct {
        std::string got, expected;
    } rows[] = {
        {UpperCase("/c:\xE9\xFF\xDF{`", ScratchCursor), "/C:\xC9\xDF\xDF{`"},
        {UnsignedToString(0x12345u, 1, ScratchCursor), "9029"},
        {RemoveAll("/C:123", "/c", REMOVE_IGNORE_CASE, ScratchCursor), ":123"},
        {DirectoryPart("C:\\a\"b\\c", ScratchCursor), "C:\\a"},
        {CopyParameter("\"C:\\Program Files\\Zarn_Scr.scr\" /p 1234", 2, ScratchCursor), "1234"},
        {CopyParameter("prog.scr \"two words\"x", 2, ScratchCursor), "x"},
        {CopyParameter("prog.scr \"\" x", 2, ScratchCursor), "x"},
        {CopyParameter("prog.scr /c:\"12\"", 1, ScratchCursor), "/c:\"12\""},
        {CopyParameter("prog.scr \"abc", 1, ScratchCursor), "abc"},
        {CopyParameter("prog.scr\t/s", 1, ScratchCursor), ""},
        {SkipProgramName("\"C:\\no end /s"), "\"C:\\no end /s"},
    };
    for (size_t row = 0; row < sizeof rows / sizeof rows[0]; row++)
        EXPECT_EQ(rows[row].got, rows[row].expected) << "row " << row;
    // A search text that the result overwrites, as a nested expression gives it.
    char* find = LeftChars("/S", 1, ScratchArea);
    EXPECT_STREQ(RemoveAll("//s/x", find, REMOVE_IGNORE_CASE, ScratchArea), "sx");
    const std::pair<const char*, int32_t> numbers[] = {{"  -42ms", -42}, {"- 5", 0}, {"\t5", 0}, {"4294967297", 1}};
    for (const auto& number : numbers)
        EXPECT_EQ(StringToNumber(number.first), number.second) << number.first;
}

TEST(Tables, GrowKeepingEntriesAndRefuseWhatCannotFit)
{
    NumberedTable table;
    ASSERT_EQ(CreateTable(&table, 30, 30, 2, sizeof(int32_t)), 1);
    *(int32_t*)FindTableEntry(&table, 29) = 7;
    EXPECT_EQ(FindTableEntry(&table, 30), nullptr);
    EXPECT_EQ(MakeRoomInTable(&table, 40), 1);
    EXPECT_EQ(table.capacity, 70);
    EXPECT_EQ(*(int32_t*)FindTableEntry(&table, 29), 7);
    for (int32_t number = 30; number < 72; number++)
        EXPECT_EQ(((int32_t*)table.entries)[number], 0) << number;
    NumberedTable huge = table;
    huge.entrySize = SIZE_MAX / 4;
    EXPECT_FALSE(MakeRoomInTable(&table, -1) || MakeRoomInTable(&table, INT32_MAX - 5) ||
                 MakeRoomInTable(&huge, INT32_MAX / 2));
    EXPECT_EQ(table.capacity, 70);
    FreeBlock(table.entries);
    EXPECT_FALSE(AllocateArray(4, -1) || AllocateArray(4, INT_MAX));
}

} // namespace
