// Windows, events and gadgets on the real USER32 (Wine), each test with fresh tables.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/gadget.h"
#include "gui/window.h"
#include "runtime/strings.h"

namespace {

class Gui : public testing::Test {
protected:
    void SetUp() override
    {
        ScratchCursor = ScratchArea;
        InitGadgetSystem();
        InitWindowSystem();
        window = OpenAppWindow(0, 20, 20, 300, 200, 0xCC0000, "gui");
        BeginGadgetList(window);
        SetForegroundWindow(window);
        SetActiveWindow(window);
    }
    void TearDown() override { CloseAllWindows(), Events(); }
    // Whether WaitForEvent gives code for what is queued now. An event raised outside a
    // wait (a control told of its end) comes with the next message: the end mark is
    // posted twice, so that one of them comes back as itself.
    static bool Events(int32_t code = 0)
    {
        const UINT endMark = WM_APP + 77;
        PostThreadMessageA(GetCurrentThreadId(), endMark, 0, 0);
        PostThreadMessageA(GetCurrentThreadId(), endMark, 0, 0);
        std::vector<int32_t> codes;
        for (int32_t next; codes.size() < 500 && (next = WaitForEvent()) != (int32_t)endMark;)
            codes.push_back(next);
        MSG spare;
        PeekMessageA(&spare, NULL, endMark, endMark, PM_REMOVE);
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    }
    HWND window = NULL;
};

TEST_F(Gui, MessagesBecomeEventsAndTabWalksTheControls)
{
    HWND button = AddButton(7, 10, 10, 60, 20, "Go");
    HWND track = AddTrackBar(9, 10, 70, 200, 20, 0, 100);
    Events();
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(Events(EVENT_GADGET) && EventGadgetNumber() == 7);
    PostMessageA(window, WM_USER + 5, 0, 0);
    EXPECT_TRUE(Events(WM_USER + 5)) << "a message that raises nothing is its own number";
    EXPECT_EQ(EventGadgetNumber(), 7) << "the number stays until the next event";
    PostMessageA(track, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(Events(EVENT_GADGET) && EventGadgetNumber() == 9);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    EXPECT_TRUE(Events(EVENT_MENU) && EventGadgetNumber() == 42);
    PostMessageA(window, MSG_ITEM_NOTIFY, 3, WM_RBUTTONUP);
    EXPECT_FALSE(Events(EVENT_ITEM_CLICK)) << "the notice ends a wait of its own";
    EXPECT_TRUE(Events(EVENT_ITEM_CLICK) && EventGadgetNumber() == 3);
    SetWindowPos(window, NULL, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Events(EVENT_SIZE));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Events(EVENT_CLOSE) && IsWindow(window)) << "closing is the caller's choice";

    // Tab and Shift+Tab walk the controls that can take the focus, both ways round.
    EnableWindow(AddTextField(2, 10, 40, 60, 20, "", 0), FALSE);
    ShowWindow(AddButton(4, 10, 80, 60, 20, "hidden"), SW_HIDE);
    HWND last = AddTextField(5, 10, 100, 60, 20, "", 0);
    SetFocus(NULL);
    for (HWND expected : {button, track, last, button}) {
        FocusNextControl();
        EXPECT_EQ(GetFocus(), expected);
    }
    FocusPreviousControl();
    FocusPreviousControl();
    EXPECT_EQ(GetFocus(), track);
    PostMessageA(track, WM_KEYDOWN, VK_TAB, 1);
    Events();
    EXPECT_EQ(GetFocus(), last) << "the Tab key reaches the walk through the accelerators";

    // A number in use is closed first; centred on the active window, never off the screen.
    HWND first = OpenAppWindow(15, 0, 0, 20, 10, 0, "beyond the first table");
    EXPECT_TRUE(OpenAppWindow(15, 0, 0, 20, 10, 0, "anchor") && !IsWindow(first) && !OpenAppWindow(-1, 0, 0, 1, 1, 0, ""));
    SetActiveWindow(CurrentWindowHandle());
    RECT outer;
    GetWindowRect(OpenAppWindow(5, 300, 300, 300, 200, WINDOW_CENTER_SCREEN | WINDOW_CENTER_ACTIVE, ""), &outer);
    EXPECT_TRUE(outer.left == 0 && outer.top == 0);
}

// The trackbar keeps its range and position in bounds. A new gadget takes over its number;
// a failed one leaves a trackbar's slot as it was and empties any other's.
TEST_F(Gui, GadgetValuesAndFailures)
{
    ASSERT_NE(AddTrackBar(0, 10, 30, 280, 20, 1, 20000), nullptr);
    for (const auto& position : {std::make_pair(50, 50), std::make_pair(50000, 10000), std::make_pair(-3, 1)}) {
        SetGadgetValue(0, position.first);
        EXPECT_EQ(GetGadgetValue(0), position.second) << position.first;
    }
    HWND field = AddTextField(8, 0, 0, 100, 20, "250", 0);
    EXPECT_TRUE(GetGadgetValue(8) == 0 && strcmp(ReadGadgetText(8, ScratchArea), "250") == 0);
    ASSERT_NE(AddButton(100, 0, 0, 50, 20, "beyond the first table"), nullptr);
    BeginGadgetList((HWND)(LONG_PTR)0x7654321);
    EXPECT_TRUE(!AddTrackBar(0, 0, 0, 100, 20, 0, 10) && GetGadgetValue(0) == 1);
    EXPECT_TRUE(!AddTextField(8, 0, 0, 50, 20, "gone", 0) && !AddButton(-1, 0, 0, 50, 20, "negative"));
    WriteGadgetText(8, "ignored");
    char kept[8];
    GetWindowTextA(field, kept, sizeof kept);
    EXPECT_STREQ(kept, "250") << "the failed field's number no longer names the old one";
}

} // namespace
