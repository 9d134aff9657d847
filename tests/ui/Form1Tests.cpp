#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "DialogKeys.h"
#include "Form1.h"
#include "Form1Ids.h"
#include "MemoryDesktop.h"
#include "Process.h"
#include "Program.h"
#include "PrefixValue.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

using namespace Form1Ids;

namespace {

constexpr auto kFace = static_cast<VeskFade::ColorValue>(0x8000000F);

// A shown Form1. A closed window's WM_QUIT is left in the queue: the next one drains it first.
struct ShownForm {
    tarvix_aol8::MemoryDesktop desktop;
    Form1 form{desktop};
    HWND window = form.Window();

    ShownForm() {
        for (MSG stale; PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE);) {}
        form.Show(SW_SHOWNORMAL);
        SetForegroundWindow(window);
        PostQuitMessage(0);  // everything posted so far, through the tool's own loop
        RunMessageLoop(TakeDialogKeys);
    }
    static void Key(UINT key, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostQuitMessage(0);
        RunMessageLoop(TakeDialogKeys);
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
    VeskFade::ColorValue Swatch(int id) const { return ReadBackColor({Item(id), "swatch"}); }
    void Scroll(int id, int code, int thumb = 0) const {
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(Item(id)));
    }
};

// At 96 dpi (15 twips a pixel); every control is 81 pixels wide.
struct Placement {
    int id, left, top, height;
};
constexpr Placement kLayout[] = {
    {Text2, 8, 8, 19},   {Command2, 104, 8, 17},  {Text1, 8, 32, 19},   {Command1, 104, 32, 17},
    {color1, 8, 64, 25}, {Color2, 104, 64, 25},   {red1, 8, 96, 9},     {green1, 8, 104, 9},
    {blue1, 8, 112, 9},  {Red2, 104, 96, 9},      {Blue2, 104, 104, 9}, {Green2, 104, 112, 9},
};

// 8.25 pt: 11, 13.75 and 16.5 pixels, rounded to the nearest, halves away from zero.
constexpr std::pair<int, int> kFontHeight[] = {{96, -11}, {120, -14}, {144, -17}};

// A 96-dpi length at dpi, halves away from zero.
int Scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

std::string Corners(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace

// Run again in a new process at other dpi settings: its name is the only one to start with "layout:".
TEST_CASE("layout: the window and each control scale with the system dpi") {
    ShownForm shown;
    const int dpi = GetDeviceCaps(WindowDc().get(), LOGPIXELSX);
    if (const char* expected = std::getenv("QUENLOW_EXPECT_DPI")) REQUIRE(dpi == std::atoi(expected));

    const auto frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    CHECK((GetWindowLongPtrW(shown.window, GWL_STYLE) & frame) == (WS_CAPTION | WS_SYSMENU));
    RECT client{};
    GetClientRect(shown.window, &client);
    CHECK(Corners(client) == Corners({0, 0, Scaled(193, dpi), Scaled(128, dpi)}));
    for (const Placement& row : kLayout) {
        CAPTURE(row.id);
        RECT rect{};
        GetWindowRect(shown.Item(row.id), &rect);
        MapWindowPoints(nullptr, shown.window, reinterpret_cast<POINT*>(&rect), 2);
        const int left = Scaled(row.left, dpi), top = Scaled(row.top, dpi);
        CHECK(Corners(rect) == Corners({left, top, left + Scaled(81, dpi), top + Scaled(row.height, dpi)}));
    }
    // An edit otherwise stops taking typed text at about 30,000 characters.
    for (int id : {Text1, Text2}) CHECK(SendMessageW(shown.Item(id), EM_GETLIMITTEXT, 0, 0) > 1000000);
    const auto height = std::ranges::find(kFontHeight, dpi, &std::pair<int, int>::first);
    REQUIRE(height != std::end(kFontHeight));
    for (int id : {Text2, Command2, Text1, Command1}) {
        CAPTURE(id);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(shown.Item(id), WM_GETFONT, 0, 0)), sizeof font, &font);
        CHECK(font.lfHeight == height->second);
        CHECK(std::wstring(font.lfFaceName) == L"Arial Narrow");
    }
}

TEST_CASE("keyboard: focus starts on Blue2, arrows move it, Tab cycles; Enter and Escape press nothing") {
    ShownForm shown;
    CHECK(GetFocus() == shown.Item(Blue2));
    ShownForm::Key(VK_RIGHT);  // the arrow keys move the focused bar
    CHECK(shown.Swatch(Color2) == 0x010000);
    for (int id : {Green2, Red2, Text1, Command1, blue1, green1, red1, Text2, Command2, Blue2}) {
        ShownForm::Key(VK_TAB);
        CHECK(GetDlgCtrlID(GetFocus()) == id);
    }
    ShownForm::Key(VK_TAB, true);
    CHECK(GetDlgCtrlID(GetFocus()) == Command2);

    for (int id : {Blue2, Text1, Text2}) {
        CAPTURE(id);
        SetFocus(shown.Item(id));
        ShownForm::Key(VK_RETURN);
        ShownForm::Key(VK_ESCAPE);
        CHECK(shown.desktop.searches == 0);
        CHECK(GetFocus() == shown.Item(id));
    }
}

TEST_CASE("colour mixers: a real move of a bar recomputes its own swatch only") {
    ShownForm shown;
    struct Step {
        int bar, code, thumb, position;
        VeskFade::ColorValue color1, Color2;
    };
    const Step steps[] = {
        {Blue2, SB_THUMBTRACK, 100, 0, kFace, kFace},  // dragging raises nothing
        {Blue2, SB_LINELEFT, 0, 0, kFace, kFace},      // already at 0: no change, which would paint black
        {Blue2, SB_LINERIGHT, 0, 1, kFace, 0x010000},  // the middle bar is blue
        {Blue2, SB_THUMBPOSITION, 200, 200, kFace, 0xC80000}, {Blue2, SB_ENDSCROLL, 0, 200, kFace, 0xC80000},
        {Green2, SB_PAGERIGHT, 0, 1, kFace, 0xC80100},        {Red2, SB_RIGHT, 0, 255, kFace, 0xC801FF},
        {Red2, SB_PAGELEFT, 0, 254, kFace, 0xC801FE},         {Red2, SB_LEFT, 0, 0, kFace, 0xC80100},
        {red1, SB_LINERIGHT, 0, 1, 1, 0xC80100},              {red1, SB_LINELEFT, 0, 0, 0, 0xC80100},  // 0 again: black
        {green1, SB_THUMBPOSITION, 2, 2, 0x000200, 0xC80100},
        {blue1, SB_THUMBPOSITION, 300, 255, 0xFF0200, 0xC80100},  // kept in the range
    };
    for (const Step& step : steps) {
        CAPTURE(step.bar);
        CAPTURE(step.code);
        shown.Scroll(step.bar, step.code, step.thumb);
        CHECK(GetScrollPos(shown.Item(step.bar), SB_CTL) == step.position);
        CHECK(shown.Swatch(color1) == step.color1);
        CHECK(shown.Swatch(Color2) == step.Color2);
    }
    UpdateWindow(shown.Item(Color2));
    HDC dc = GetDC(shown.Item(Color2));
    CHECK(GetPixel(dc, 10, 10) == 0xC80100);
    ReleaseDC(shown.Item(Color2), dc);
}

// The hook refuses to create Text2, and records each message box and answers it a while after it shows.
std::wstring g_report;
bool g_reportStayed = false;
HHOOK g_hook = nullptr;

void CALLBACK AnswerReport(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    g_reportStayed = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK WatchReports(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hMenu == HMENU(INT_PTR(Text2)))
        return 1;
    wchar_t text[256] = {};
    if (code == HCBT_ACTIVATE && GetDlgItemTextW(reinterpret_cast<HWND>(wParam), 0xFFFF, text, 256) > 0) {
        g_report = text;
        SetTimer(reinterpret_cast<HWND>(wParam), 1, 200, AnswerReport);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_CASE("Send with no chat room reports nothing; a failed control access is reported, and the tool goes on") {
    ShownForm shown;
    g_hook = SetWindowsHookExW(WH_CBT, WatchReports, nullptr, GetCurrentThreadId());
    // No chat room: Send searches, sends nothing and reports nothing.
    SendMessageW(shown.window, WM_COMMAND, MAKEWPARAM(Command1, BN_CLICKED), 0);
    CHECK((shown.desktop.searches == 1 && shown.desktop.Sent().empty() && g_report.empty()));
    DestroyWindow(shown.Item(Green2));
    shown.Scroll(Blue2, SB_LINERIGHT);
    UnhookWindowsHookEx(g_hook);
    CHECK(g_report == L"Blue2_Change: reading the position of Green2 failed (system error 1400)");
    CHECK(shown.Swatch(Color2) == kFace);
    shown.Scroll(red1, SB_LINERIGHT);
    CHECK(shown.Swatch(color1) == 1);
}

TEST_CASE("a failed start says why, in a box that stays until it is answered") {
    for (MSG stale; PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE);) {}
    tarvix_aol8::MemoryDesktop desktop;
    g_reportStayed = false;
    g_hook = SetWindowsHookExW(WH_CBT, WatchReports, nullptr, GetCurrentThreadId());
    const int exitCode = RunProgram(desktop, SW_SHOWNORMAL);
    UnhookWindowsHookEx(g_hook);
    CHECK(exitCode == 1);
    CHECK(g_report == L"Quenlow could not start: creating Text2 failed (system error 0)");
    CHECK(g_reportStayed);
}

// A new process reads the system dpi from the registry as it starts.
TEST_CASE("at 120 and 144 dpi the layout scales with the system's ratio" * doctest::skip(!OnWine())) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (DWORD dpi : {120, 144}) {
        const SystemDpi system(dpi);
        SetEnvironmentVariableA("QUENLOW_EXPECT_DPI", std::to_string(dpi).c_str());
        ChildProcess run(self, {L"--test-case=layout:*"});
        CHECK_MESSAGE(run.WaitForExit(60000) == 0, dpi);
    }
    SetEnvironmentVariableA("QUENLOW_EXPECT_DPI", nullptr);
}

TEST_CASE("a start maximized or minimized (a shortcut's setting) shows the window at its fixed size") {
    for (int command : {SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE, SW_MINIMIZE}) {
        CAPTURE(command);
        tarvix_aol8::MemoryDesktop desktop;
        Form1 form{desktop};
        form.Show(command);
        CHECK(IsWindowVisible(form.Window()));
        CHECK_FALSE(IsZoomed(form.Window()));
        CHECK_FALSE(IsIconic(form.Window()));
        RECT client{};
        GetClientRect(form.Window(), &client);
        CHECK(Corners(client) == Corners({0, 0, 193, 128}));
        if (GetActiveWindow() == form.Window()) CHECK(GetFocus() == GetDlgItem(form.Window(), Blue2));
    }
}
