#pragma once
// Windows and gadgets on the real USER32 (Wine), each test with fresh tables.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/gadget.h"
#include "gui/window.h"
#include "gui/window_table.h"
#include "runtime/strings.h"

class GuiTest : public testing::Test {
protected:
    // Posted after whatever a test set going, so collecting events ends there.
    static const UINT END_MARK = WM_APP + 77;

    void SetUp() override
    {
        ScratchCursor = ScratchArea;
        InitGadgetSystem();
        InitWindowSystem();
    }
    void TearDown() override
    {
        CloseAllWindows();
        Drain();
    }

    // Handles every queued message outside WaitForEvent and forgets the events they left.
    static void Drain()
    {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        EventState.kind = 0;
    }

    // Every code WaitForEvent gives up to the end mark.
    static std::vector<int32_t> CollectEvents()
    {
        PostThreadMessageA(GetCurrentThreadId(), END_MARK, 0, 0);
        std::vector<int32_t> codes;
        for (int waits = 0; waits < 500; waits++) {
            int32_t code = WaitForEvent();
            if (code == (int32_t)END_MARK)
                break;
            codes.push_back(code);
        }
        return codes;
    }

    static bool Contains(const std::vector<int32_t>& codes, int32_t code)
    {
        for (int32_t each : codes)
            if (each == code)
                return true;
        return false;
    }

    static std::string TextOf(HWND window)
    {
        char text[100] = {0};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static std::string ClassOf(HWND window)
    {
        char name[100] = {0};
        GetClassNameA(window, name, sizeof name);
        return name;
    }

    // A window with its gadgets ready, active and with nothing left in the queue.
    HWND OpenReadyWindow(int32_t number, int32_t width = 300, int32_t height = 200)
    {
        HWND window = OpenAppWindow(number, 20, 20, width, height, 0xCC0000, "gui test");
        EXPECT_NE(window, nullptr);
        BeginGadgetList(window);
        return window;
    }
    static void MakeActive(HWND window)
    {
        SetForegroundWindow(window);
        SetActiveWindow(window);
        Drain();
    }
};
