#include "e2e/driver.h"

// Pixels of the columns from left to right that match.
static int CountIn(const Shot& shot, int left, int right, bool (*match)(uint32_t))
{
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), found = 0;
    for (size_t at = 0; at < shot.size(); at++)
        found += (int)(at % width) >= left && (int)(at % width) < right && match(shot[at]);
    return found;
}

// On two monitors side by side, the second is black while the show is in front: a click there leaves the
// show in front, and the window lying there is in view again once the show is out of the foreground or ends.
TEST(Monitors, TheOtherMonitorIsBlackWhileTheShowIsInFront)
{
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    // sid's Wine 10 reports both monitors of this display at the origin: there only the show itself is checked.
    bool sideBySide = GetSystemMetrics(SM_CMONITORS) == 2 && width == 1280;
    printf("%d monitors, %d pixels wide in all\n", GetSystemMetrics(SM_CMONITORS), width);
    ASSERT_TRUE(sideBySide || sizeof(void*) == 4) << width << " pixels wide: two monitors side by side expected";
    auto redInView = [&] {
        return CountIn(TakeShot(), 640, width, [](uint32_t p) { return (p & 0xF8FCF8) == 0xF80000; }) > 90000;
    };
    if (sideBySide) {
        Unix("/usr/bin/xmessage -bg red -fg red -title zarn-red -geometry 400x300+760+90 .");
        ASSERT_TRUE(WaitUntil(redInView)) << "no red window on the second monitor";
    }
    Folder folder(L"monitors");
    folder.Write(SETTINGS, "ZCOUNT = 40\r\nZDELAY = 10\r\n");
    for (bool away : {false, true}) {
        SCOPED_TRACE(away ? "out of the foreground" : "ended by Escape");
        Scr show(folder, "/s");
        HWND screen = WaitForShow();
        ASSERT_NE(screen, nullptr);
        Shot shot;
        EXPECT_TRUE(WaitUntil([&] { return CountIn(shot = TakeShot(), 0, 640, NotBlack) > 500; }, 8000)) << "no picture";
        Sleep(400);
        EXPECT_GT(Changed(shot, TakeShot()), 500) << "nothing moved";
        EXPECT_TRUE(!sideBySide || CountIn(shot, 640, width, NotBlack) == 0) << "the second monitor is not black";
        if (!away) {
            // The pointer is held on the show's monitor: the click goes to the cover's window itself.
            if (sideBySide)
                Unix("/bin/sh -c \"for w in $(xdotool search --class zarn_scr.scr); do xdotool getwindowgeometry $w | "
                     "grep -q 'Position: 640,0' && xdotool click --window $w 1; done\"");
            Sleep(7000);
            EXPECT_TRUE(show.Running()) << "taken for out of the foreground";
            EXPECT_EQ(EndWithEscape(show), 0u);
        } else {
            SendMessageTimeoutA(screen, WM_ACTIVATEAPP, FALSE, 0, SMTO_NORMAL, 5000, NULL);
            EXPECT_TRUE(!sideBySide || WaitUntil(redInView, 2000)) << "the second monitor stays covered";
            EXPECT_EQ(show.Wait(10000), 0u);
        }
        EXPECT_TRUE(!sideBySide || WaitUntil(redInView)) << "the red window is not in view after the show";
    }
    if (sideBySide)
        Unix("/usr/bin/pkill -f zarn-red");
}
