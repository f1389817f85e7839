#include "e2e/driver.h"

// Switches that select no mode, and a parameter longer than any switch, end the program at once and silently,
// with exit code 0. Of two copies started together one runs on. Its dialog shows the defaults and the trackbar's
// moves and refuses delays out of 0..1000; Cancel stores nothing.
TEST(Dialog, OneOfTwoCopiesShowsTheDefaults)
{
    Folder folder(L"dialog_defaults");
    for (const std::string& parameters : {std::string("/p 1234"), std::string("/a"), "/x" + std::string(30000, 'q')})
        EXPECT_EQ(Scr(folder, parameters).Wait(10000), 0u) << parameters.substr(0, 10);
    Scr first(folder, ""), second(folder, "");
    HANDLE both[2] = {first.process, second.process};
    DWORD ended = WaitForMultipleObjects(2, both, FALSE, 10000) - WAIT_OBJECT_0;
    ASSERT_LT(ended, 2u) << "both copies run";
    EXPECT_EQ((ended ? second : first).Wait(0), 0u);
    Scr& scr = ended ? first : second;
    HWND dialog = WaitForDialog(scr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Shown(dialog), "10/10 at 10");
    EXPECT_EQ(Text(dialog, 1) + Text(dialog, 7), "Count of zarns:Delay (0 - 1000ms, 0 = off):") << "the labels";
    // Tab walks round the controls that take the focus, passing the labels, a disabled button and a hidden
    // field; Shift+Tab walks back. A posted key carries no Shift state: these are real presses.
    GUITHREADINFO gui = {sizeof gui, 0, NULL, NULL, NULL, NULL, NULL, NULL, {}};
    auto focus = [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, NULL), &gui), gui.hwndFocus; };
    EnableWindow(GetDlgItem(dialog, CANCEL_BUTTON), FALSE);
    ShowWindow(GetDlgItem(dialog, COUNT_FIELD), SW_HIDE);
    std::string walked;
    for (const char* keys : {"key Tab", "key Tab", "key Tab", "keydown shift key Tab", "key Tab", "key Tab keyup shift"}) {
        HWND before = focus();
        Unix(std::string("/usr/bin/xdotool ") + keys);
        WaitUntil([&] { return focus() != before; }, 5000);
        walked += (focus() ? std::to_string(GetDlgCtrlID(focus())) : "none") + " ";
    }
    // Round the trackbar, OK and the delay field, in the order they were made, from whichever had the focus.
    EXPECT_NE(std::string("4 8 0 8 4 0 /8 0 4 0 8 4 /0 4 8 4 0 8 /").find(walked + "/"), std::string::npos) << walked;
    EnableWindow(GetDlgItem(dialog, CANCEL_BUTTON), TRUE);
    RECT frame;
    GetWindowRect(dialog, &frame);
    EXPECT_LE(abs(frame.left + frame.right - 640) + abs(frame.top + frame.bottom - 480), 2) << "not centred";
    GetClientRect(dialog, &frame);
    EXPECT_TRUE(frame.right == 300 && frame.bottom == 130);
    MoveTrackBar(dialog, 25);
    EXPECT_TRUE(WaitUntil([&] { return Text(dialog, COUNT_FIELD) == "25"; })) << Text(dialog, COUNT_FIELD);
    // So many digits would wrap round to 1 if they were read modulo 2^32.
    for (const char* delay : {"1001", "4294967297"}) {
        SetDlgItemTextA(dialog, DELAY_FIELD, delay);
        Click(dialog, OK_BUTTON);
        EXPECT_EQ(AnswerMessage(scr), "Delay have to be between: 0-1000!") << delay;
        EXPECT_TRUE(scr.Running() && IsWindowVisible(dialog) && Text(dialog, DELAY_FIELD) == delay) << delay;
    }
    Click(dialog, CANCEL_BUTTON);
    EXPECT_EQ(scr.Wait(), 0u);
    EXPECT_EQ(folder.Read(SETTINGS), "<missing>");
}

// Settings files as hands and accidents leave them are read as far as they can be. OK stores the
// trackbar's place and the delay alone, or says it cannot; Cancel and the close request leave the file.
TEST(Dialog, SettingsFilesAreReadAndStoredOrLeft)
{
    std::string garbage;
    for (uint32_t x = 12345; garbage.size() < 4096; garbage += (char)(x >> 24))
        x = x * 1103515245u + 12345u;
    enum { NONE, READ_ONLY, NEW_FOLDER };
    const char* newFile = "Zarn_Scr.ini.new";
    const struct {
        const char *name, *parameters;
        std::string bytes;
        int obstacle;
        const char* shown;
        const char* delay; // typed before leaving
        int end; // a button, or the close request
        const char* stored; // by OK, where it can store
    } cases[] = {
        {"a count over the trackbar's end", "/c:1234", "; mine\r\nZCOUNT = 150\r\nOTHER = 1\r\nZDELAY = 25\r\n",
         NONE, "150/25 at 100", "", OK_BUTTON, "ZCOUNT = 100\r\nZDELAY = 0\r\n"},
        {"a count of 0", "S", "ZCOUNT = 0\r\n", NONE, "0/10 at 1", "0001000", OK_BUTTON,
         "ZCOUNT = 1\r\nZDELAY = 1000\r\n"},
        {"a read-only file", "\"\" /p", "ZCOUNT = 3\r\nZDELAY = 4\r\n", READ_ONLY, "3/4 at 3", "20", OK_BUTTON, NULL},
        // Only a save that writes a new file first fails here.
        {"a folder named Zarn_Scr.ini.new", "/c", "ZCOUNT = 3\r\n", NEW_FOLDER, "3/10 at 3", "20", OK_BUTTON, NULL},
        {"a folder in the file's place", "-c 77", "<folder>", NONE, "10/10 at 10", "20", OK_BUTTON, NULL},
        {"binary garbage", "/c", garbage, NONE, "10/10 at 10", "500", CANCEL_BUTTON, NULL},
        {"beyond 32 bits, no last line end", "/c", "ZDELAY = -99999999999\r\nZCOUNT = 99999999999", NONE,
         "2147483647/-2147483648 at 100", "500", CANCEL_BUTTON, NULL},
        {"a group before the keys", "/c", "[Zarn]\r\nZCOUNT = 9\r\n", NONE, "10/10 at 10", "500", WM_CLOSE, NULL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder(L"dialog_files");
        folder.Write(SETTINGS, c.bytes);
        SetFileAttributesW(folder.At(SETTINGS).c_str(), c.obstacle == READ_ONLY ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        folder.Write(newFile, c.obstacle == NEW_FOLDER ? "<folder>" : "<missing>");
        Scr scr(folder, c.parameters);
        HWND dialog = WaitForDialog(scr);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Shown(dialog), c.shown);
        SetDlgItemTextA(dialog, DELAY_FIELD, c.delay);
        if (c.end != OK_BUTTON)
            MoveTrackBar(dialog, 60);
        PostMessageA(c.end == WM_CLOSE ? dialog : GetDlgItem(dialog, c.end), c.end == WM_CLOSE ? WM_CLOSE : BM_CLICK, 0, 0);
        if (c.end == OK_BUTTON && !c.stored) {
            std::string message = AnswerMessage(scr);
            EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
            EXPECT_TRUE(scr.Running() && IsWindowVisible(dialog)) << "the dialog stays";
            Click(dialog, CANCEL_BUTTON);
        }
        EXPECT_EQ(scr.Wait(), 0u);
        EXPECT_TRUE(folder.Read(SETTINGS) == (c.stored ? c.stored : c.bytes)) << folder.Read(SETTINGS).substr(0, 40);
        EXPECT_EQ(folder.Read(newFile), c.obstacle == NEW_FOLDER ? "<folder>" : "<missing>") << "left beside it";
    }
}

// A program folder whose name the ANSI code page cannot spell: the settings are still
// stored beside the program and read from there, where the picture is looked for too.
TEST(ForeignFolder, SettingsLiveBesideTheProgram)
{
    const WCHAR name[] = L"\u753B\u50CF dir";
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, name, -1, NULL, 0, NULL, &lossy);
    ASSERT_TRUE(lossy) << "code page " << GetACP() << " spells the folder's name";
    Folder folder(name);
    for (int button : {OK_BUTTON, CANCEL_BUTTON}) {
        Scr scr(folder, "/c");
        HWND dialog = WaitForDialog(scr);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Shown(dialog), button == OK_BUTTON ? "10/10 at 10" : "42/7 at 42");
        MoveTrackBar(dialog, 42);
        SetDlgItemTextA(dialog, DELAY_FIELD, "7");
        Click(dialog, button);
        EXPECT_EQ(scr.Wait(), 0u);
        EXPECT_EQ(folder.Read(SETTINGS), "ZCOUNT = 42\r\nZDELAY = 7\r\n") << "not stored beside the program";
    }
}
