// Windows, events and gadgets on the real USER32 (Wine), each test with fresh tables.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

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
    }
    void TearDown() override
    {
        CloseAllWindows();
        Events();
    }
    // Every code WaitForEvent gives for what is queued now. An event raised outside the
    // wait (a control told of its end) is given for the next message: the end mark is
    // posted twice, so that one of them comes back as itself.
    static std::vector<int32_t> Events()
    {
        const UINT endMark = WM_APP + 77;
        PostThreadMessageA(GetCurrentThreadId(), endMark, 0, 0);
        PostThreadMessageA(GetCurrentThreadId(), endMark, 0, 0);
        std::vector<int32_t> codes;
        for (int32_t code; codes.size() < 500 && (code = WaitForEvent()) != (int32_t)endMark;)
            codes.push_back(code);
        MSG spare;
        PeekMessageA(&spare, NULL, endMark, endMark, PM_REMOVE);
        return codes;
    }
    static bool Has(const std::vector<int32_t>& codes, int32_t code)
    {
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    }
    static HWND ActiveWindow()
    {
        HWND window = OpenAppWindow(0, 20, 20, 300, 200, 0xCC0000, "gui test");
        BeginGadgetList(window);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        Events();
        return window;
    }
    static RECT Outer(HWND window)
    {
        RECT outer;
        GetWindowRect(window, &outer);
        return outer;
    }
};

TEST_F(Gui, WindowsOpenReplaceCloseAndPlaceThemselves)
{
    EXPECT_EQ(OpenAppWindow(-1, 0, 0, 100, 50, 0, "negative"), nullptr);
    HWND distant = OpenAppWindow(15, 0, 0, 100, 50, 0, "beyond the first table");
    HWND first = OpenAppWindow(3, 33, 44, 200, 100, 0, "first");
    HWND second = OpenAppWindow(3, 33, 44, 200, 100, 0, "second");
    ASSERT_TRUE(distant && first && second);
    EXPECT_FALSE(IsWindow(first)) << "a number in use is closed first";
    EXPECT_EQ(CurrentWindowHandle(), second);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(GetWindowLongPtrA(second, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "a bare style gets a caption";
    RECT client;
    GetClientRect(second, &client);
    EXPECT_TRUE(Outer(second).left == 33 && Outer(second).top == 44 && client.right == 200 && client.bottom == 100);
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "WindowClass_3", &info));
    CloseAppWindow(3);
    CloseAppWindow(3);
    CloseAppWindow(500);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(NULL), "WindowClass_3", &info));
    EXPECT_FALSE(IsWindowVisible(OpenAppWindow(1, 0, 0, 120, 60, WINDOW_HIDDEN, "hidden")));

    HWND centred = OpenAppWindow(2, 245, 216, 300, 130, 0xCC0001, "centred");
    RECT outer = Outer(centred);
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (outer.right - outer.left) / 2);
    EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (outer.bottom - outer.top) / 2);
    GetClientRect(centred, &client);
    EXPECT_TRUE(client.right == 300 && client.bottom == 130);
    HWND anchor = OpenAppWindow(4, 0, 0, 20, 10, 0, "anchor");
    SetForegroundWindow(anchor);
    SetActiveWindow(anchor);
    RECT both = Outer(OpenAppWindow(5, 300, 300, 300, 200, WINDOW_CENTER_SCREEN | WINDOW_CENTER_ACTIVE, "on it"));
    EXPECT_TRUE(both.left == 0 && both.top == 0) << "centred on the active window, never off the screen";
    CloseAllWindows();
    EXPECT_FALSE(IsWindow(distant));
}

TEST_F(Gui, MessagesBecomeEvents)
{
    HWND window = ActiveWindow();
    HWND button = AddButton(7, 10, 10, 60, 20, "Go");
    HWND track = AddTrackBar(9, 10, 70, 200, 20, 0, 100);
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(Has(Events(), EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 7);
    PostMessageA(window, WM_USER + 5, 0, 0);
    EXPECT_EQ(Events(), std::vector<int32_t>{WM_USER + 5}) << "a message that raises nothing is its own number";
    EXPECT_EQ(EventGadgetNumber(), 7) << "the number stays until the next event";
    PostMessageA(track, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(Has(Events(), EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 9);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    EXPECT_TRUE(Has(Events(), EVENT_MENU));
    EXPECT_EQ(EventGadgetNumber(), 42);
    PostMessageA(window, MSG_ITEM_NOTIFY, 3, WM_RBUTTONUP);
    EXPECT_FALSE(Has(Events(), EVENT_ITEM_CLICK)) << "the notice ends a wait of its own";
    EXPECT_TRUE(Has(Events(), EVENT_ITEM_CLICK));
    EXPECT_EQ(EventGadgetNumber(), 3);
    SetWindowPos(window, NULL, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Has(Events(), EVENT_SIZE));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Has(Events(), EVENT_CLOSE));
    EXPECT_TRUE(IsWindow(window)) << "closing is the caller's choice";
}

// Tab and Shift+Tab walk the controls that can take the focus, both ways round.
TEST_F(Gui, TabWalksTheControls)
{
    ActiveWindow();
    AddLabel(0, 10, 0, 80, 20, "label");
    HWND first = AddButton(1, 10, 20, 60, 20, "first");
    EnableWindow(AddTextField(2, 10, 40, 60, 20, "", 0), FALSE);
    HWND middle = AddTrackBar(3, 10, 60, 100, 20, 0, 10);
    ShowWindow(AddButton(4, 10, 80, 60, 20, "hidden"), SW_HIDE);
    HWND last = AddTextField(5, 10, 100, 60, 20, "", 0);
    SetFocus(NULL);
    for (HWND expected : {first, middle, last, first}) {
        FocusNextControl();
        EXPECT_EQ(GetFocus(), expected);
    }
    for (HWND expected : {last, middle}) {
        FocusPreviousControl();
        EXPECT_EQ(GetFocus(), expected);
    }
    PostMessageA(middle, WM_KEYDOWN, VK_TAB, 1);
    Events();
    EXPECT_EQ(GetFocus(), last) << "the Tab key reaches the walk through the accelerators";
}

TEST_F(Gui, GadgetValuesTextsAndFailures)
{
    ActiveWindow();
    ASSERT_NE(AddTrackBar(0, 10, 30, 280, 20, 1, 100), nullptr);
    const int32_t positions[][2] = {{50, 50}, {500, 100}, {-3, 1}};
    for (const auto& position : positions) {
        SetGadgetValue(0, position[0]);
        EXPECT_EQ(GetGadgetValue(0), position[1]) << position[0];
    }
    HWND wide = AddTrackBar(1, 10, 60, 280, 20, -5, 20000);
    EXPECT_EQ(SendMessageA(wide, TBM_GETRANGEMAX, 0, 0), 10000) << "the range is kept within 0..10000";
    HWND upright = AddTrackBarStyled(2, 10, 10, 30, 150, 0, 100, TBS_VERT);
    SetGadgetValue(2, 30);
    EXPECT_EQ(SendMessageA(upright, TBM_GETPOS, 0, 0), 70) << "a vertical trackbar reads from the bottom";
    EXPECT_EQ(GetGadgetValue(2), 30);

    HWND field = AddTextField(8, 0, 0, 100, 20, "250", TEXT_FIELD_NO_EDGE);
    EXPECT_FALSE(GetWindowLongPtrA(field, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetGadgetValue(8), 0) << "fields have no value";
    char* prefix = ScratchCursor;
    AppendToScratch("delay ");
    char* text = ReadGadgetText(8, ScratchCursor);
    EXPECT_EQ(ScratchCursor, text + 3);
    EXPECT_STREQ(prefix, "delay 250");
    WriteGadgetText(8, NULL);
    EXPECT_STREQ(ReadGadgetText(8, ScratchCursor), "");
    EXPECT_STREQ(ReadGadgetText(29, ScratchCursor), "") << "a number never used reads as nothing";

    // A new gadget takes over its number; a failed one leaves a trackbar's slot as it
    // was and empties any other's.
    ASSERT_NE(AddButton(100, 0, 0, 50, 20, "far"), nullptr);
    SetGadgetValue(0, 4);
    BeginGadgetList((HWND)(LONG_PTR)0x7654321);
    EXPECT_EQ(AddTrackBar(0, 0, 0, 100, 20, 0, 10), nullptr);
    EXPECT_EQ(GetGadgetValue(0), 4);
    EXPECT_EQ(AddTextField(8, 0, 0, 50, 20, "gone", 0), nullptr);
    WriteGadgetText(8, "ignored");
    EXPECT_STREQ(GetWindowTextA(field, ScratchArea, 10) >= 0 ? ScratchArea : "", "") << "slot 8 no longer names it";
    EXPECT_EQ(AddButton(-1, 0, 0, 50, 20, "negative"), nullptr);
}

} // namespace
