#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "scr_process.h"

// The dialog's controls, by the numbers the program gives them.
enum { COUNT_TRACKBAR = 0, OK_BUTTON = 4, CANCEL_BUTTON = 5, COUNT_FIELD = 6, DELAY_FIELD = 8 };

static const char* const DIALOG_TITLE = "Zarn Screensaver Configuration";
static const char* const MESSAGE_TITLE = "Zarn Scr.s. Message";
static const DWORD WINDOW_WAIT_MS = 15000;
static const DWORD END_WAIT_MS = 15000;

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

TEST_F(ConfigDialog, WithoutSettingsShowsTheDefaultsAndCancelStoresNothing)
{
    Prepare("dialog_defaults");
    Open("");
    EXPECT_EQ(TrackBarPosition(dialog, COUNT_TRACKBAR), 10);
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "10");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "10");
    EXPECT_EQ(ControlText(dialog, 1), "Count of zarns:");
    EXPECT_EQ(ControlText(dialog, 7), "Delay (0 - 1000ms, 0 = off):");
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 130);

    // The frame is sizeable; the controls stay where they are.
    RECT before = ControlPlace(dialog, CANCEL_BUTTON);
    SetWindowPos(dialog, NULL, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(dialog, &client);
    EXPECT_GT(client.right, 300);
    RECT after = ControlPlace(dialog, CANCEL_BUTTON);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(before.left, 220);
    EXPECT_EQ(before.bottom, 120);
    EXPECT_TRUE(StillRunning());

    ClickButton(dialog, CANCEL_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "<missing>");
}

TEST_F(ConfigDialog, StoredCountsBeyondTheRangeAreShownAndOkStoresTheTrackBarEnd)
{
    Prepare("dialog_count150");
    WriteWholeFile(settings, "ZCOUNT = 150\r\nZDELAY = 25\r\n");
    Open("/c:1234");
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "150");
    EXPECT_EQ(TrackBarPosition(dialog, COUNT_TRACKBAR), 100);
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "25");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "ZCOUNT = 100\r\nZDELAY = 25\r\n");

    WriteWholeFile(settings, "ZCOUNT = 0\r\n");
    Open("/c");
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "0");
    EXPECT_EQ(TrackBarPosition(dialog, COUNT_TRACKBAR), 1);
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "ZCOUNT = 1\r\nZDELAY = 10\r\n");
}

TEST_F(ConfigDialog, DelayOutsideTheRangeIsRefusedUntilMended)
{
    Prepare("dialog_delay_rule");
    Open("/c");
    SetControlText(dialog, DELAY_FIELD, "1001");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(AnswerMessage(), "Delay have to be between: 0-1000!");
    EXPECT_TRUE(StillRunning());
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "1001");
    EXPECT_EQ(ReadWholeFile(settings), "<missing>");

    // So many digits would wrap round to 1 if they were read modulo 2^32.
    SetControlText(dialog, DELAY_FIELD, "4294967297");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(AnswerMessage(), "Delay have to be between: 0-1000!");
    EXPECT_TRUE(StillRunning());
    EXPECT_EQ(ReadWholeFile(settings), "<missing>");

    SetControlText(dialog, DELAY_FIELD, "0001000");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "ZCOUNT = 10\r\nZDELAY = 1000\r\n");
}

TEST_F(ConfigDialog, TrackBarMovesAreShownAndAnEmptyDelayStoresZero)
{
    Prepare("dialog_trackbar");
    WriteWholeFile(settings, "; mine\r\nZCOUNT = 7\r\nZDELAY = 5000\r\nOTHER = 1\r\n");
    Open("");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "5000");
    MoveTrackBar(dialog, COUNT_TRACKBAR, 100);
    EXPECT_EQ(WaitForControlText(dialog, COUNT_FIELD, "100", WINDOW_WAIT_MS), "100");
    MoveTrackBar(dialog, COUNT_TRACKBAR, 25);
    EXPECT_EQ(WaitForControlText(dialog, COUNT_FIELD, "25", WINDOW_WAIT_MS), "25");
    SetControlText(dialog, DELAY_FIELD, "");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "ZCOUNT = 25\r\nZDELAY = 0\r\n");
}

TEST_F(ConfigDialog, CancelAndTheCloseRequestLeaveTheFileAlone)
{
    Prepare("dialog_leave");
    const std::string original = "# hand made\r\nZCOUNT = 42\nZDELAY=3\r\n\r\nextra";
    WriteWholeFile(settings, original);

    Open("");
    MoveTrackBar(dialog, COUNT_TRACKBAR, 60);
    SetControlText(dialog, DELAY_FIELD, "500");
    ClickButton(dialog, CANCEL_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), original);

    Open("/c");
    MoveTrackBar(dialog, COUNT_TRACKBAR, 60);
    SetControlText(dialog, DELAY_FIELD, "500");
    RequestClose(dialog);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), original);
}

TEST_F(ConfigDialog, ASettingsFileThatCannotBeWrittenIsReportedAndKept)
{
    Prepare("dialog_read_only");
    const std::string original = "ZCOUNT = 3\r\nZDELAY = 4\r\n";
    WriteWholeFile(settings, original);
    SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);

    Open("");
    SetControlText(dialog, DELAY_FIELD, "20");
    ClickButton(dialog, OK_BUTTON);
    std::string message = AnswerMessage();
    EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
    EXPECT_TRUE(StillRunning());
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ReadWholeFile(settings), original);

    ClickButton(dialog, CANCEL_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), original);
}

TEST_F(ConfigDialog, ASecondCopyEndsAtOnceWhileTheDialogIsOpen)
{
    Prepare("dialog_second");
    Open("");
    DWORD start = GetTickCount();
    EXPECT_EQ(RunScr(folder, "/c", 20000), 0u);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_TRUE(StillRunning());
    EXPECT_EQ(CountVisibleWindows(processId), 1);
    RequestClose(dialog);
    EXPECT_EQ(Ended(), 0u);
}
