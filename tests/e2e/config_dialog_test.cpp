#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "show_driver.h"

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

// A program folder whose name the ANSI code page cannot spell: the settings are still
// stored beside the program, and read from there by the dialog and the show.
TEST(ForeignFolder, SettingsAndPictureLiveBesideTheProgram)
{
    const WCHAR name[] = L"\u753B\u50CF dir";
    BOOL lossy = FALSE;
    char spelled[64];
    WideCharToMultiByte(CP_ACP, 0, name, -1, spelled, sizeof spelled, NULL, &lossy);
    ASSERT_TRUE(lossy) << "code page " << GetACP() << " spells the folder's name";

    std::string parent = MakeScrFolder("foreign_parent");
    std::wstring folder(parent.begin(), parent.end());
    folder += name;
    folder += L"\\";
    CreateDirectoryW(folder.c_str(), NULL);
    ASSERT_TRUE(CopyFileW((folder.substr(0, parent.size()) + L"Zarn_Scr.scr").c_str(),
                          (folder + L"Zarn_Scr.scr").c_str(), FALSE));
    auto start = [&](const WCHAR* parameters) {
        std::wstring line = L"\"" + folder + L"Zarn_Scr.scr\" " + parameters;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        EXPECT_TRUE(CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &process));
        CloseHandle(process.hThread);
        return process.hProcess;
    };

    HANDLE process = start(L"/c");
    HWND dialog = WaitForProcessWindow(GetProcessId(process), DIALOG_TITLE, WINDOW_WAIT_MS);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitForDialogFilled(dialog, COUNT_FIELD, DELAY_FIELD, WINDOW_WAIT_MS));
    MoveTrackBar(dialog, COUNT_TRACKBAR, 42);
    SetControlText(dialog, DELAY_FIELD, "321");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(WaitForScr(process, END_WAIT_MS), 0u);
    HANDLE file = CreateFileW((folder + L"Zarn_Scr.ini").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "the settings were not stored beside the program";
    char bytes[64] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes - 1, &read, NULL);
    CloseHandle(file);
    EXPECT_STREQ(bytes, "ZCOUNT = 42\r\nZDELAY = 321\r\n");

    process = start(L"/c");
    dialog = WaitForProcessWindow(GetProcessId(process), DIALOG_TITLE, WINDOW_WAIT_MS);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitForDialogFilled(dialog, COUNT_FIELD, DELAY_FIELD, WINDOW_WAIT_MS));
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "42");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "321");
    ClickButton(dialog, CANCEL_BUTTON);
    EXPECT_EQ(WaitForScr(process, END_WAIT_MS), 0u);

    std::string green = SolidBmp(64, 48, 0, 255, 0);
    file = CreateFileW((folder + L"zarn.bmp").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, green.data(), (DWORD)green.size(), &written, NULL);
    CloseHandle(file);
    process = start(L"/s");
    Sleep(4000);
    // The stored delay makes the copies grow slowly: few pixels, but only the file's.
    Shot shot = TakeShot();
    int greenPixels = shot.Count([](uint32_t p) { return (p & 0xF8FCF8) == 0x00FC00; });
    EXPECT_GT(greenPixels, 0) << "the picture beside the program was not shown";
    EXPECT_EQ(shot.Count(NotBlack), greenPixels);
    PressEscape();
    EXPECT_EQ(WaitForScr(process, END_WAIT_MS), 0u);
}
