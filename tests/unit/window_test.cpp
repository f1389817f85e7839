#include "gui_fixture.h"

class Windows : public GuiTest {};

TEST_F(Windows, TableGrowsToTheNumberPlusTenAndReopeningReplaces)
{
    EXPECT_EQ(WindowCapacity, 10);
    HWND distant = OpenAppWindow(15, 0, 0, 100, 50, 0, "far");
    ASSERT_NE(distant, nullptr);
    EXPECT_EQ(WindowCapacity, 25);
    EXPECT_EQ(WindowTable[15].handle, distant);
    EXPECT_EQ(WindowTable[15].acceleratorCount, 2);
    EXPECT_NE(WindowTable[15].acceleratorTable, nullptr);

    HWND first = OpenAppWindow(3, 0, 0, 100, 50, 0, "first");
    HWND second = OpenAppWindow(3, 0, 0, 100, 50, 0, "second");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(WindowTable[3].handle, second);
    EXPECT_EQ(CurrentWindowHandle(), second);
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "WindowClass_3", &info));
    EXPECT_EQ(WindowCapacity, 25);

    CloseAppWindow(3);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(WindowTable[3].handle, nullptr);
    EXPECT_EQ(WindowTable[3].accelerators, nullptr);
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(NULL), "WindowClass_3", &info));
    // Closing is harmless twice, and for numbers past the table.
    CloseAppWindow(3);
    CloseAppWindow(500);
    EXPECT_EQ(WindowCapacity, 25);
    EXPECT_EQ(CurrentWindowHandle(), second);

    CloseAllWindows();
    EXPECT_FALSE(IsWindow(distant));
}

TEST_F(Windows, NegativeNumbersOpenNothing)
{
    EXPECT_EQ(OpenAppWindow(-1, 0, 0, 100, 50, 0, "negative"), nullptr);
    EXPECT_EQ(WindowCapacity, 10);
    EXPECT_EQ(CurrentWindowHandle(), nullptr);
}

TEST_F(Windows, FlagsGiveStyleVisibilityAndClientSize)
{
    HWND plain = OpenAppWindow(0, 33, 44, 200, 100, 0, "plain");
    ASSERT_NE(plain, nullptr);
    LONG_PTR style = GetWindowLongPtrA(plain, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(plain));
    RECT outer, client;
    GetWindowRect(plain, &outer);
    EXPECT_EQ(outer.left, 33);
    EXPECT_EQ(outer.top, 44);
    GetClientRect(plain, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);

    HWND hidden = OpenAppWindow(1, 0, 0, 120, 60, WINDOW_HIDDEN, "hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowLongPtrA(hidden, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

    HWND framed = OpenAppWindow(2, 245, 216, 300, 130, 0xCC0000, "framed");
    ASSERT_NE(framed, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(framed, GWL_STYLE) & 0xCC0000, 0xCC0000);
    GetClientRect(framed, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 130);
    EXPECT_EQ(TextOf(framed), "framed");
    EXPECT_EQ(ClassOf(framed), "WindowClass_2");
}

TEST_F(Windows, CentringOnTheScreenAndOnTheActiveWindow)
{
    HWND centred = OpenAppWindow(0, 245, 216, 300, 130, 0xCC0001, "centred");
    ASSERT_NE(centred, nullptr);
    RECT outer;
    GetWindowRect(centred, &outer);
    int32_t width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
    EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
    RECT client;
    GetClientRect(centred, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 130);

    HWND anchor = OpenAppWindow(1, 200, 150, 200, 150, 0, "anchor");
    MakeActive(anchor);
    ASSERT_EQ(GetActiveWindow(), anchor);
    RECT around;
    GetWindowRect(anchor, &around);
    HWND onAnchor = OpenAppWindow(2, 0, 0, 151, 61, WINDOW_CENTER_ACTIVE, "on anchor");
    GetWindowRect(onAnchor, &outer);
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, around.left - width / 2 + (around.right - around.left) / 2);
    EXPECT_EQ(outer.top, around.top - height / 2 + (around.bottom - around.top) / 2);

    // Both bits: the active window wins.
    HWND corner = OpenAppWindow(3, 0, 0, 20, 10, 0, "corner");
    MakeActive(corner);
    HWND clamped = OpenAppWindow(4, 300, 300, 300, 200, WINDOW_CENTER_SCREEN | WINDOW_CENTER_ACTIVE, "clamped");
    GetWindowRect(clamped, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
}

TEST_F(Windows, ControlActionsBecomeGadgetEvents)
{
    HWND window = OpenReadyWindow(0);
    HWND button = AddButton(7, 10, 10, 60, 20, "Go");
    HWND field = AddTextField(8, 10, 40, 80, 20, "", 0);
    HWND track = AddTrackBar(9, 10, 70, 200, 20, 0, 100);
    ASSERT_TRUE(button && field && track);
    MakeActive(window);

    PostMessageA(button, BM_CLICK, 0, 0);
    std::vector<int32_t> codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 7);

    // The number stays while other messages come.
    PostMessageA(window, WM_USER + 5, 0, 0);
    codes = CollectEvents();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], WM_USER + 5);
    EXPECT_EQ(EventGadgetNumber(), 7);

    PostMessageA(track, WM_KEYDOWN, VK_RIGHT, 0);
    codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 9);
    EXPECT_EQ(GetGadgetValue(9), 1);

    // Focus gained, text changed and focus lost each name the field.
    PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(field, WM_LBUTTONUP, 0, 0);
    codes = CollectEvents();
    EXPECT_EQ(GetFocus(), field);
    ASSERT_TRUE(Contains(codes, EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 8);
    EventState.number = 0;

    PostMessageA(field, WM_CHAR, '4', 1);
    codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 8);
    EventState.number = 0;

    // Tab leaves the field for the trackbar, which tells nobody it got the focus.
    PostMessageA(field, WM_KEYDOWN, VK_TAB, 1);
    codes = CollectEvents();
    EXPECT_EQ(GetFocus(), track);
    ASSERT_TRUE(Contains(codes, EVENT_GADGET));
    EXPECT_EQ(EventGadgetNumber(), 8);
}

TEST_F(Windows, CloseRequestAndSizeChangeComeThroughTheQueue)
{
    // The size message of the window's creation waits in the queue.
    HWND window = OpenAppWindow(0, 10, 10, 200, 100, 0xCC0000, "sized");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Contains(CollectEvents(), EVENT_SIZE));

    SetWindowPos(window, NULL, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
    std::vector<int32_t> codes = CollectEvents();
    EXPECT_TRUE(Contains(codes, EVENT_SIZE));

    PostMessageA(window, WM_CLOSE, 0, 0);
    codes = CollectEvents();
    EXPECT_TRUE(Contains(codes, EVENT_CLOSE));
    EXPECT_TRUE(IsWindow(window));

    // Messages that raise nothing come back as their own numbers.
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    codes = CollectEvents();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], WM_MOUSEMOVE);
}

TEST_F(Windows, MenusAcceleratorsAndItemNotices)
{
    HWND window = OpenReadyWindow(0);
    MakeActive(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    std::vector<int32_t> codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_MENU));
    EXPECT_EQ(EventGadgetNumber(), 42);

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(77, 1), 0);
    codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_MENU));
    EXPECT_EQ(EventGadgetNumber(), 77);

    // The notice is posted on, so it ends a later wait of its own.
    PostMessageA(window, MSG_ITEM_NOTIFY, 3, WM_RBUTTONUP);
    codes = CollectEvents();
    EXPECT_FALSE(Contains(codes, EVENT_ITEM_CLICK));
    codes = CollectEvents();
    ASSERT_TRUE(Contains(codes, EVENT_ITEM_CLICK));
    EXPECT_EQ(EventGadgetNumber(), 3);

    PostMessageA(window, MSG_ITEM_NOTIFY, 4, WM_MOUSEMOVE);
    CollectEvents();
    codes = CollectEvents();
    EXPECT_FALSE(Contains(codes, EVENT_ITEM_CLICK));
    EXPECT_EQ(EventGadgetNumber(), 4);
}

class Focus : public GuiTest {
protected:
    HWND window = nullptr;
    HWND first = nullptr, disabled = nullptr, middle = nullptr, hidden = nullptr, last = nullptr;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = OpenReadyWindow(0);
        AddLabel(0, 10, 0, 80, 20, "label");
        first = AddButton(1, 10, 20, 60, 20, "first");
        disabled = AddTextField(2, 10, 40, 60, 20, "", 0);
        middle = AddTrackBar(3, 10, 60, 100, 20, 0, 10);
        hidden = AddButton(4, 10, 80, 60, 20, "hidden");
        last = AddTextField(5, 10, 100, 60, 20, "", 0);
        AddLabel(6, 10, 120, 80, 20, "after");
        EnableWindow(disabled, FALSE);
        ShowWindow(hidden, SW_HIDE);
        MakeActive(window);
        SetFocus(NULL);
    }
};

TEST_F(Focus, TabWalksForwardSkippingWhatCannotTakeFocusAndWraps)
{
    FocusNextControl();
    EXPECT_EQ(GetFocus(), first);
    FocusNextControl();
    EXPECT_EQ(GetFocus(), middle);
    FocusNextControl();
    EXPECT_EQ(GetFocus(), last);
    FocusNextControl();
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(Focus, ShiftTabWalksBackAndWraps)
{
    FocusPreviousControl();
    EXPECT_EQ(GetFocus(), last);
    FocusPreviousControl();
    EXPECT_EQ(GetFocus(), middle);
    FocusPreviousControl();
    EXPECT_EQ(GetFocus(), first);
    FocusPreviousControl();
    EXPECT_EQ(GetFocus(), last);
}

TEST_F(Focus, TabKeysGoThroughTheAccelerators)
{
    // The key message is taken by the accelerator and comes back as its own number.
    SetFocus(first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 1);
    std::vector<int32_t> codes = CollectEvents();
    EXPECT_EQ(GetFocus(), middle);
    EXPECT_TRUE(Contains(codes, WM_KEYDOWN));

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SetFocus(first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 1);
    CollectEvents();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), last);
}
