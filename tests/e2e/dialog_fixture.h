#pragma once
// The configuration dialog of a real screensaver started in a folder of its own.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "scr_process.h"

// The dialog's controls, by the numbers the program gives them.
enum { COUNT_TRACKBAR = 0, OK_BUTTON = 4, CANCEL_BUTTON = 5, COUNT_FIELD = 6, DELAY_FIELD = 8 };

inline const char* const DIALOG_TITLE = "Zarn Screensaver Configuration";
inline const char* const MESSAGE_TITLE = "Zarn Scr.s. Message";
inline const DWORD WINDOW_WAIT_MS = 15000;
inline const DWORD END_WAIT_MS = 15000;

class ConfigDialog : public testing::Test {
protected:
    std::string folder;
    std::string settings;
    HANDLE process = NULL;
    DWORD processId = 0;
    HWND dialog = NULL;

    void Prepare(const char* name)
    {
        folder = MakeScrFolder(name);
        settings = folder + "Zarn_Scr.ini";
    }
    // Starts the program and waits for its dialog.
    void Open(const char* parameters)
    {
        process = StartScr(folder, parameters);
        ASSERT_NE(process, nullptr);
        processId = GetProcessId(process);
        dialog = WaitForProcessWindow(processId, DIALOG_TITLE, WINDOW_WAIT_MS);
        ASSERT_NE(dialog, nullptr) << "no dialog";
        ASSERT_TRUE(WaitForDialogFilled(dialog, COUNT_FIELD, DELAY_FIELD, WINDOW_WAIT_MS));
    }
    // The exit code once the program has ended.
    DWORD Ended()
    {
        DWORD code = WaitForScr(process, END_WAIT_MS);
        process = NULL;
        return code;
    }
    // A control's rectangle in the dialog's client coordinates.
    static RECT ControlPlace(HWND window, int control)
    {
        RECT place;
        GetWindowRect(GetDlgItem(window, control), &place);
        MapWindowPoints(NULL, window, (POINT*)&place, 2);
        return place;
    }
    bool StillRunning() { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }
    // Waits for the program's message box and gives its text after answering it.
    std::string AnswerMessage()
    {
        HWND box = WaitForProcessWindow(processId, MESSAGE_TITLE, WINDOW_WAIT_MS);
        if (!box)
            return "<no message box>";
        std::string text = MessageBoxText(box);
        AnswerMessageBox(box);
        EXPECT_TRUE(WaitForWindowGone(box, WINDOW_WAIT_MS));
        return text;
    }
    void TearDown() override
    {
        if (process)
            WaitForScr(process, 0);
        SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

