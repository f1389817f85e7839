#include "gui_fixture.h"

#include <commctrl.h>

#include <string>

#include "gui/gadget_table.h"

class Gadgets : public GuiTest {
protected:
    HWND window = nullptr;
    void SetUp() override
    {
        GuiTest::SetUp();
        window = OpenReadyWindow(0);
    }
    static LONG_PTR Style(HWND control) { return GetWindowLongPtrA(control, GWL_STYLE); }
    static LONG_PTR ExtendedStyle(HWND control) { return GetWindowLongPtrA(control, GWL_EXSTYLE); }
};

TEST_F(Gadgets, ControlsCarryTheirStylesIdentifiersAndFont)
{
    HWND label = AddLabel(1, 10, 10, 90, 20, "Count of zarns:");
    HWND button = AddButton(4, 10, 100, 70, 20, "OK");
    HWND field = AddTextField(8, 140, 70, 100, 20, "", ES_NUMBER);
    HWND bare = AddTextField(9, 140, 70, 100, 20, "x", 0x20000);
    HWND track = AddTrackBar(0, 10, 30, 280, 20, 1, 100);
    ASSERT_TRUE(label && button && field && bare && track);

    EXPECT_EQ(Style(label), 0x50020000);
    EXPECT_EQ(Style(button) & 0xFFFF000F, 0x50030000);
    EXPECT_EQ(Style(field) & (0x50030080 | ES_NUMBER), 0x50030080 | ES_NUMBER);
    EXPECT_EQ(Style(track) & 0x50010000, 0x50010000);
    EXPECT_TRUE(ExtendedStyle(field) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(ExtendedStyle(bare) & WS_EX_CLIENTEDGE);

    EXPECT_EQ(GetDlgCtrlID(label), 1);
    EXPECT_EQ(GetDlgCtrlID(track), 0);
    EXPECT_EQ(GetParent(field), window);
    HGDIOBJ font = GetStockObject(ANSI_VAR_FONT);
    for (HWND control : {label, button, field})
        EXPECT_EQ((HGDIOBJ)SendMessageA(control, WM_GETFONT, 0, 0), font);

    EXPECT_EQ(TextOf(label), "Count of zarns:");
    EXPECT_EQ(ClassOf(track), "msctls_trackbar32");
}

TEST_F(Gadgets, TrackBarKeepsRangeAndPositionInBounds)
{
    ASSERT_NE(AddTrackBar(0, 10, 30, 280, 20, 1, 100), nullptr);
    EXPECT_EQ(GetGadgetValue(0), 1);
    SetGadgetValue(0, 50);
    EXPECT_EQ(GetGadgetValue(0), 50);
    SetGadgetValue(0, 500);
    EXPECT_EQ(GetGadgetValue(0), 100);
    SetGadgetValue(0, -3);
    EXPECT_EQ(GetGadgetValue(0), 1);

    HWND wide = AddTrackBar(1, 10, 60, 280, 20, -5, 20000);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(SendMessageA(wide, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(wide, TBM_GETRANGEMAX, 0, 0), 10000);
    SetGadgetValue(1, 12345);
    EXPECT_EQ(GetGadgetValue(1), 10000);
}

TEST_F(Gadgets, VerticalTrackBarReadsFromTheBottom)
{
    HWND upright = AddTrackBarStyled(2, 10, 10, 30, 150, 0, 100, TBS_VERT);
    ASSERT_NE(upright, nullptr);
    EXPECT_TRUE(Style(upright) & TBS_VERT);
    SetGadgetValue(2, 30);
    EXPECT_EQ(SendMessageA(upright, TBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(GetGadgetValue(2), 30);
}

TEST_F(Gadgets, LabelsAndFieldsHaveNoValue)
{
    AddLabel(1, 0, 0, 50, 20, "7");
    AddTextField(2, 0, 20, 50, 20, "250", 0);
    SetGadgetValue(1, 9);
    SetGadgetValue(2, 9);
    EXPECT_EQ(GetGadgetValue(1), 0);
    EXPECT_EQ(GetGadgetValue(2), 0);
    EXPECT_STREQ(ReadGadgetText(2, ScratchCursor), "250");
    // Numbers that never held a gadget read as nothing.
    ScratchCursor = ScratchArea;
    EXPECT_EQ(GetGadgetValue(29), 0);
    EXPECT_STREQ(ReadGadgetText(29, ScratchCursor), "");
    WriteGadgetText(29, "ignored");
    SetGadgetValue(400, 1);
    EXPECT_EQ(GadgetCapacity, 30);
}

TEST_F(Gadgets, ReadGadgetTextFollowsTheScratchProtocol)
{
    AddTextField(8, 0, 0, 100, 20, "", ES_NUMBER);
    char* start = ScratchCursor;
    char* text = ReadGadgetText(8, start);
    EXPECT_EQ(text, start);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(ScratchCursor, start);

    WriteGadgetText(8, "1001");
    char* prefix = ScratchCursor;
    AppendToScratch("delay ");
    text = ReadGadgetText(8, ScratchCursor);
    EXPECT_EQ(ScratchCursor, text + 4);
    EXPECT_EQ(*ScratchCursor, 0);
    EXPECT_STREQ(prefix, "delay 1001");

    WriteGadgetText(8, NULL);
    EXPECT_STREQ(ReadGadgetText(8, ScratchCursor), "");
}

TEST_F(Gadgets, LongTextsAreCutAtTheScratchAreaEnd)
{
    std::string longText(32500, '7');
    AddTextField(3, 0, 0, 100, 20, "", 0);
    SendMessageA(GadgetTable[3].handle, EM_SETLIMITTEXT, 40000, 0);
    WriteGadgetText(3, longText.c_str());
    char* text = ReadGadgetText(3, ScratchArea);
    EXPECT_EQ(strlen(text), 31999u);

    char* nearEnd = ScratchArea + SCRATCH_SIZE - 11;
    memset(nearEnd - 1, 'g', 12);
    ScratchArea[SCRATCH_SIZE - 1] = 'g';
    text = ReadGadgetText(3, nearEnd);
    EXPECT_EQ(strlen(text), 10u);
    EXPECT_EQ(ScratchCursor, ScratchArea + SCRATCH_SIZE - 1);
    EXPECT_EQ(*ScratchCursor, 0);
    EXPECT_EQ(nearEnd[-1], 'g');
}

TEST_F(Gadgets, TableGrowsToTheNumberPlusThirty)
{
    HWND first = AddButton(40, 0, 0, 50, 20, "far");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GadgetCapacity, 70);
    EXPECT_EQ(GadgetTable[40].handle, first);
    HWND track = AddTrackBar(100, 0, 30, 100, 20, 0, 10);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(GadgetCapacity, 130);
    EXPECT_EQ(GadgetTable[40].handle, first);

    // A new gadget takes over the slot; the old control stays on the window.
    HWND second = AddLabel(40, 0, 60, 50, 20, "new");
    EXPECT_EQ(GadgetTable[40].handle, second);
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(GetGadgetValue(40), 0);
}

TEST_F(Gadgets, FailedCreationsFollowTheirKind)
{
    HWND track = AddTrackBar(5, 0, 0, 100, 20, 0, 10);
    HWND label = AddLabel(6, 0, 30, 50, 20, "kept");
    ASSERT_TRUE(track && label);
    SetGadgetValue(5, 4);

    // No parent: the controls cannot be made.
    BeginGadgetList((HWND)(LONG_PTR)0x7654321);
    EXPECT_EQ(AddTrackBar(5, 0, 0, 100, 20, 0, 10), nullptr);
    EXPECT_EQ(GadgetTable[5].handle, track);
    EXPECT_EQ(GetGadgetValue(5), 4);
    EXPECT_EQ(AddLabel(6, 0, 0, 50, 20, "gone"), nullptr);
    EXPECT_EQ(GadgetTable[6].handle, nullptr);
    EXPECT_EQ(AddButton(-1, 0, 0, 50, 20, "negative"), nullptr);
    EXPECT_EQ(GadgetCapacity, 30);
}
