#include "e2e/driver.h"

std::filesystem::path TestsFolder()
{
    WCHAR program[MAX_PATH];
    return std::filesystem::path(std::wstring(program, GetModuleFileNameW(NULL, program, MAX_PATH))).parent_path();
}

Folder::Folder(const std::wstring& name)
{
    // A case that crashed or timed out may have left a library missing for every start after it.
    RegDeleteKeyA(HKEY_CURRENT_USER, OVERRIDES);
    const std::filesystem::path tests = TestsFolder();
    path = tests / L"e2e_work" / name;
    std::error_code missing;
    for (const auto& inside : std::filesystem::directory_iterator(path, missing))
        SetFileAttributesW(inside.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    // The tests live in build/winNN/tests, the screensaver of their own build in build/winNN.
    std::filesystem::copy_file(tests.parent_path() / L"Zarn_Scr.scr", At("Zarn_Scr.scr"));
}

std::string Folder::Read(const char* file) const
{
    if (!std::filesystem::is_regular_file(At(file)))
        return std::filesystem::exists(At(file)) ? "<folder>" : "<missing>";
    std::ifstream in(At(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Folder::Write(const char* file, const std::string& bytes) const
{
    if (bytes == "<folder>")
        std::filesystem::create_directory(At(file));
    EXPECT_TRUE(bytes == "<folder>" || bytes == "<missing>" || std::ofstream(At(file), std::ios::binary) << bytes) << file;
}

Scr::Scr(const Folder& folder, const std::string& parameters)
{
    std::wstring line = L"\"" + folder.At("Zarn_Scr.scr").wstring() + L"\"" + (parameters.empty() ? L"" : L" ");
    line.append(parameters.begin(), parameters.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    EXPECT_TRUE(CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder.path.c_str(), &startup, &started))
        << "error " << GetLastError();
    CloseHandle(started.hThread);
    process = started.hProcess;
}

DWORD Scr::Wait(DWORD ms)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, ms) == WAIT_TIMEOUT && TerminateProcess(process, STILL_ACTIVE))
        WaitForSingleObject(process, 5000);
    return GetExitCodeProcess(process, &code) ? code : STILL_ACTIVE;
}

static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return (LRESULT)result;
}

std::string Text(HWND window, int control)
{
    char text[300] = "";
    Send(GetDlgItem(window, control), WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

std::string Shown(HWND dialog)
{
    int position = (int)Send(GetDlgItem(dialog, COUNT_TRACKBAR), TBM_GETPOS, 0, 0);
    return Text(dialog, COUNT_FIELD) + "/" + Text(dialog, DELAY_FIELD) + " at " + std::to_string(position);
}

void MoveTrackBar(HWND dialog, int position)
{
    HWND track = GetDlgItem(dialog, COUNT_TRACKBAR);
    Send(track, TBM_SETPOS, TRUE, position);
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), (LPARAM)track);
}

static HWND WaitForWindow(const Scr& scr, const char* title)
{
    HWND found = NULL;
    DWORD owner = 0;
    auto shown = [&] { return (found = FindWindowA(NULL, title)) && GetWindowThreadProcessId(found, &owner) &&
                              owner == GetProcessId(scr.process) && IsWindowVisible(found); };
    return WaitUntil(shown) ? found : NULL;
}

HWND WaitForDialog(const Scr& scr)
{
    HWND dialog = WaitForWindow(scr, "Zarn Screensaver Configuration");
    return dialog && WaitUntil([&] { return !Text(dialog, DELAY_FIELD).empty(); }) ? dialog : NULL;
}

std::string AnswerMessage(const Scr& scr)
{
    HWND box = WaitForWindow(scr, "Zarn Scr.s. Message");
    std::string text;
    if (!box || !WaitUntil([&] { return !(text = Text(box, 0xFFFF)).empty(); })) // the text's control
        return "<no message box>";
    // Wine's message box holds every kind of button and hides those not asked for.
    int buttons = 0;
    for (int button = IDOK; button <= IDCONTINUE; button++)
        buttons += IsWindowVisible(GetDlgItem(box, button));
    EXPECT_TRUE(buttons == 1 && IsWindowVisible(GetDlgItem(box, IDOK))) << buttons << " buttons: " << text;
    Click(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); })) << text;
    return text;
}

Shot TakeShot(DWORD untilLitMs, int lit)
{
    Shot shot;
    if (untilLitMs) {
        WaitUntil([&] { return Count(shot = TakeShot(), NotBlack) > lit; }, untilLitMs);
        return shot;
    }
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC screen = GetDC(NULL), memory = CreateCompatibleDC(screen);
    void* bits = NULL;
    HGDIOBJ old = SelectObject(memory, CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0));
    BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
           GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
    GdiFlush();
    shot.assign((const uint32_t*)bits, (const uint32_t*)bits + width * height);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return shot;
}

// A press lasting longer than any frame, so that the show's poll of the keyboard sees it.
DWORD EndWithEscape(Scr& scr)
{
    Unix("/usr/bin/xdotool keydown Escape");
    DWORD code = scr.Wait(5000);
    Unix("/usr/bin/xdotool keyup Escape");
    return code;
}
