#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "EmptyDesktop.h"
#include "Form1.h"
#include "Form1Ids.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace Form1Ids;

namespace {

constexpr VeskFade::ColorValue kSystemButtonFace = -2147483633;  // 0x8000000F

// A shown Form1 whose WM_COMMAND messages are logged; its WM_QUIT is drained at the end.
struct ShownForm {
    EmptyDesktop desktop;
    std::optional<Form1> form;
    HWND window = nullptr;
    static inline WNDPROC original = nullptr;
    static inline std::vector<WPARAM> commands;

    ShownForm() {
        form.emplace(desktop);
        window = form->Window();
        commands.clear();
        original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(&Logging)));
        form->Show(SW_SHOWNORMAL);
        SetForegroundWindow(window);
        Pump();
    }
    ~ShownForm() {
        form.reset();
        MSG quit;
        while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {}
    }
    static LRESULT CALLBACK Logging(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) commands.push_back(wParam);
        return CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    // Everything posted so far, through the tool's own loop.
    static int Pump() {
        PostQuitMessage(0);
        return RunMessageLoop();
    }
    static void Key(UINT key, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        Pump();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
    std::int16_t Position(int id) const { return ReadPosition({Item(id), "bar"}); }
    VeskFade::ColorValue Swatch(int id) const { return ReadBackColor({Item(id), "swatch"}); }
    void Scroll(int id, int code, int position = 0) const {
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Item(id)));
    }
    // The brush and background colour that the window gives a control for painting.
    COLORREF PaintedWith(UINT ctlColorMessage, int id, COLORREF* back = nullptr) const {
        const HWND control = Item(id);
        HDC dc = GetDC(control);
        LOGBRUSH brush{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(window, ctlColorMessage, WPARAM(dc), LPARAM(control))),
                   sizeof brush, &brush);
        if (back) *back = GetBkColor(dc);
        ReleaseDC(control, dc);
        return brush.lbColor;
    }
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Every control is 1215 twips (81 pixels) wide.
struct Placement {
    int id;
    int left, top, height;        // twips
    int leftPx, topPx, heightPx;  // at 96 dpi
};
constexpr Placement kTable[] = {
    {Text2, 120, 120, 285, 8, 8, 19},     {Command2, 1560, 120, 255, 104, 8, 17}, {Text1, 120, 480, 285, 8, 32, 19},
    {Command1, 1560, 480, 255, 104, 32, 17}, {color1, 120, 960, 375, 8, 64, 25}, {Color2, 1560, 960, 375, 104, 64, 25},
    {red1, 120, 1440, 135, 8, 96, 9},     {green1, 120, 1560, 135, 8, 104, 9},    {blue1, 120, 1680, 135, 8, 112, 9},
    {Red2, 1560, 1440, 135, 104, 96, 9},  {Blue2, 1560, 1560, 135, 104, 104, 9},  {Green2, 1560, 1680, 135, 104, 112, 9},
};

// Twips to pixels, halves away from zero.
int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace

TEST_CASE("the layout follows the twips table at the system dpi") {
    ShownForm shown;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (const char* expected = std::getenv("QUENLOW_EXPECT_DPI")) REQUIRE(dpi == std::atoi(expected));

    RECT client{};
    GetClientRect(shown.window, &client);
    CHECK(client.right == Px(2895, dpi));
    CHECK(client.bottom == Px(1920, dpi));
    if (dpi == 96) CHECK((client.right == 193 && client.bottom == 128));
    for (const Placement& row : kTable) {
        CAPTURE(row.id);
        RECT rect{};
        GetWindowRect(shown.Item(row.id), &rect);
        MapWindowPoints(nullptr, shown.window, reinterpret_cast<POINT*>(&rect), 2);
        const RECT expected{Px(row.left, dpi), Px(row.top, dpi), Px(row.left, dpi) + Px(1215, dpi),
                            Px(row.top, dpi) + Px(row.height, dpi)};
        CHECK((rect.left == expected.left && rect.top == expected.top));
        CHECK((rect.right == expected.right && rect.bottom == expected.bottom));
        if (dpi == 96) CHECK((rect.left == row.leftPx && rect.top == row.topPx && rect.bottom - rect.top == row.heightPx));
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(shown.Item(Command2), WM_GETFONT, 0, 0)), sizeof font, &font);
    CHECK(std::wstring(font.lfFaceName) == L"Arial Narrow");
    CHECK(font.lfHeight == -(825 * dpi + 3600) / 7200);
    CHECK((font.lfWeight == 400 && font.lfCharSet == 0 && !font.lfItalic && !font.lfUnderline));
    CHECK(SendMessageW(shown.Item(Text1), WM_GETFONT, 0, 0) == SendMessageW(shown.Item(Command2), WM_GETFONT, 0, 0));
}

TEST_CASE("the window and its controls start as the table sets them") {
    ShownForm shown;
    wchar_t text[64] = {};
    GetWindowTextW(shown.window, text, 64);
    CHECK(std::wstring(text) == L".:[ Quenlow ]:.");
    const auto style = GetWindowLongPtrW(shown.window, GWL_STYLE);
    CHECK((style & (WS_CAPTION | WS_SYSMENU)) == (WS_CAPTION | WS_SYSMENU));
    CHECK((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0);
    CHECK((GetDlgItem(shown.window, IDOK) == nullptr && GetDlgItem(shown.window, IDCANCEL) == nullptr));

    struct Initial {
        int id;
        const wchar_t* windowClass;
        const wchar_t* text;
        LONG_PTR mustHave, mustLack;
    };
    const Initial controls[] = {
        {Text1, L"Edit", L"Text to fade", WS_TABSTOP, ES_MULTILINE | ES_PASSWORD | ES_READONLY},
        {Text2, L"Edit", L"Handle", WS_TABSTOP, ES_MULTILINE | ES_PASSWORD | ES_READONLY},
        {Command1, L"Button", L"Send", WS_TABSTOP, BS_DEFPUSHBUTTON},
        {Command2, L"Button", L"load it", WS_TABSTOP, BS_DEFPUSHBUTTON},
        {color1, L"Static", L"", WS_BORDER, WS_TABSTOP},
        {Color2, L"Static", L"", WS_BORDER, WS_TABSTOP},
    };
    for (const Initial& control : controls) {
        CAPTURE(control.id);
        const HWND window = shown.Item(control.id);
        CHECK(ClassOf(window) == control.windowClass);
        GetWindowTextW(window, text, 64);
        CHECK(std::wstring(text) == control.text);
        const auto controlStyle = GetWindowLongPtrW(window, GWL_STYLE);
        CHECK((controlStyle & control.mustHave) == control.mustHave);
        CHECK((controlStyle & control.mustLack) == 0);
    }
    for (int id : {Text1, Text2}) {
        COLORREF back = 0;
        CHECK(shown.PaintedWith(WM_CTLCOLOREDIT, id, &back) == RGB(224, 224, 224));
        CHECK(back == RGB(224, 224, 224));
        CHECK(SendMessageW(shown.Item(id), EM_GETLIMITTEXT, 0, 0) > 1000000);
    }
    for (int id : {color1, Color2}) {
        CHECK(shown.Swatch(id) == kSystemButtonFace);
        CHECK(shown.PaintedWith(WM_CTLCOLORSTATIC, id) == GetSysColor(COLOR_BTNFACE));
    }
    for (int id : {red1, green1, blue1, Red2, Green2, Blue2}) {
        CAPTURE(id);
        CHECK(ClassOf(shown.Item(id)) == L"ScrollBar");
        CHECK((GetWindowLongPtrW(shown.Item(id), GWL_STYLE) & (SBS_VERT | WS_TABSTOP)) == WS_TABSTOP);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        REQUIRE(GetScrollInfo(shown.Item(id), SB_CTL, &info));
        CHECK((info.nMin == 0 && info.nMax == 255 && info.nPos == 0));
    }
}

TEST_CASE("keyboard: focus at start, the Tab cycle, Enter and Escape press nothing") {
    ShownForm shown;
    CHECK(GetFocus() == shown.Item(Blue2));
    const int cycle[] = {Blue2, Green2, Red2, Text1, Command1, blue1, green1, red1, Text2, Command2};
    for (int step = 1; step <= 10; ++step) {
        ShownForm::Key(VK_TAB);
        CHECK(GetDlgCtrlID(GetFocus()) == cycle[step % 10]);
    }
    for (int step = 9; step >= 0; --step) {
        ShownForm::Key(VK_TAB, true);
        CHECK(GetDlgCtrlID(GetFocus()) == cycle[step]);
    }
    ShownForm::Key(VK_RIGHT);
    CHECK(shown.Position(Blue2) == 1);
    CHECK(shown.Swatch(Color2) == 0x010000);

    for (int id : {Blue2, Text1, Text2}) {
        CAPTURE(id);
        SetFocus(shown.Item(id));
        ShownForm::commands.clear();
        ShownForm::Key(VK_RETURN);
        ShownForm::Key(VK_ESCAPE);
        for (WPARAM command : ShownForm::commands) CHECK((LOWORD(command) != Command1 && LOWORD(command) != Command2));
        CHECK(GetFocus() == shown.Item(id));
    }
}

TEST_CASE("colour mixers: each bar's change recomputes its own swatch") {
    ShownForm shown;
    struct Step {
        int bar, code, thumb, position;
        VeskFade::ColorValue color1, Color2;
    };
    constexpr auto face = kSystemButtonFace;
    const Step steps[] = {
        {Blue2, SB_THUMBTRACK, 100, 0, face, face},  // dragging raises nothing
        {Blue2, SB_LINELEFT, 0, 0, face, face},      // already at 0: no change
        {Blue2, SB_LINERIGHT, 0, 1, face, 0x010000},  // the middle bar is blue
        {Blue2, SB_THUMBPOSITION, 200, 200, face, 0xC80000},
        {Blue2, SB_ENDSCROLL, 0, 200, face, 0xC80000},
        {Green2, SB_PAGERIGHT, 0, 1, face, 0xC80100},
        {Red2, SB_RIGHT, 0, 255, face, 0xC801FF},
        {Red2, SB_PAGELEFT, 0, 254, face, 0xC801FE},
        {Red2, SB_LEFT, 0, 0, face, 0xC80100},
        {red1, SB_LINERIGHT, 0, 1, 1, 0xC80100},
        {red1, SB_LINELEFT, 0, 0, 0, 0xC80100},  // back to 0: black, not the system colour
        {green1, SB_THUMBPOSITION, 2, 2, 0x000200, 0xC80100},
        {blue1, SB_THUMBPOSITION, 3, 3, 0x030200, 0xC80100},
        {red1, SB_THUMBPOSITION, 1, 1, 197121, 0xC80100},
        {green1, SB_THUMBPOSITION, 300, 255, 0x03FF01, 0xC80100},  // kept in the range
    };
    for (const Step& step : steps) {
        CAPTURE(step.bar);
        CAPTURE(step.code);
        shown.Scroll(step.bar, step.code, step.thumb);
        CHECK(shown.Position(step.bar) == step.position);
        CHECK(shown.Swatch(color1) == step.color1);
        CHECK(shown.Swatch(Color2) == step.Color2);
    }
    // The swatch has really repainted itself.
    UpdateWindow(shown.Item(Color2));
    HDC dc = GetDC(shown.Item(Color2));
    CHECK(GetPixel(dc, 10, 10) == 0xC80100);
    ReleaseDC(shown.Item(Color2), dc);

    // A notification that leaves the position where it is raises no change.
    WriteBackColor({shown.Item(color1), "color1"}, 0x123456);
    WriteBackColor({shown.Item(Color2), "Color2"}, 0x654321);
    shown.Scroll(green1, SB_LINERIGHT);  // at 255
    shown.Scroll(green1, SB_RIGHT);
    shown.Scroll(red1, SB_THUMBPOSITION, 1);  // at 1
    shown.Scroll(Red2, SB_PAGELEFT);          // at 0
    CHECK(shown.Swatch(color1) == 0x123456);
    CHECK(shown.Swatch(Color2) == 0x654321);
}

namespace {

// Closes the message boxes of this thread as they open and keeps their texts.
std::wstring g_messageBoxText;
HHOOK g_hook = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM) {
    wchar_t text[256] = {};
    if (ClassOf(child) == L"Static" && GetWindowTextW(child, text, 256) > 0) g_messageBoxText += text;
    return TRUE;
}

LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && ClassOf(reinterpret_cast<HWND>(wParam)) == L"#32770") {
        EnumChildWindows(reinterpret_cast<HWND>(wParam), CollectText, 0);
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

TEST_CASE("failures: a failed control access raises and stops at the window's boundary") {
    SUBCASE("the readers and writers raise for a control that is gone") {
        const HWND gone = CreateWindowExW(0, L"SCROLLBAR", L"", SBS_HORZ, 0, 0, 10, 10, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), nullptr);
        DestroyWindow(gone);
        const Control control{gone, "Green2"};
        CHECK_THROWS_WITH_AS(ReadPosition(control), "reading the position of Green2 failed (system error 1400)",
                             ControlError);
        CHECK_THROWS_AS(ReadText(control), ControlError);
        CHECK_THROWS_AS(WriteText(control, u"x"), ControlError);
        CHECK_THROWS_AS(ReadBackColor(control), ControlError);
        CHECK_THROWS_AS(WriteBackColor(control, 0), ControlError);
    }
    SUBCASE("a handler's error is shown naming the handler; the swatch keeps its colour, the tool goes on") {
        ShownForm shown;
        DestroyWindow(shown.Item(Green2));
        g_messageBoxText.clear();
        g_hook = SetWindowsHookExW(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
        shown.Scroll(Blue2, SB_LINERIGHT);
        UnhookWindowsHookEx(g_hook);
        CHECK(g_messageBoxText == L"Blue2_Change: reading the position of Green2 failed (system error 1400)");
        CHECK(shown.Swatch(Color2) == kSystemButtonFace);
        shown.Scroll(red1, SB_LINERIGHT);
        CHECK(shown.Swatch(color1) == 1);
    }
}

TEST_CASE("closing the window destroys it and ends the message loop") {
    ShownForm shown;
    PostMessageW(shown.window, WM_CLOSE, 0, 0);
    CHECK(RunMessageLoop() == 0);
    CHECK_FALSE(IsWindow(shown.window));
    CHECK(shown.form->Window() == nullptr);
}

namespace {

// Runs the layout test in a new process, which reads the system dpi from the registry as it starts.
DWORD RunLayoutTestAt(HKEY desktopKey, DWORD dpi) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --test-case=\"the layout follows*\"";
    SetEnvironmentVariableW(L"QUENLOW_EXPECT_DPI", std::to_wstring(dpi).c_str());
    RegSetValueExW(desktopKey, L"LogPixels", 0, REG_DWORD, LPBYTE(&dpi), sizeof dpi);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(L"QUENLOW_EXPECT_DPI", nullptr);
    return exitCode;
}

}  // namespace

TEST_CASE("at 120 and 144 dpi the layout scales with the system's ratio") {
    if (std::getenv("QUENLOW_EXPECT_DPI")) return;
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS);
    DWORD old = 0, size = sizeof old;
    const bool had = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, LPBYTE(&old), &size) == ERROR_SUCCESS;
    CHECK(RunLayoutTestAt(key, 120) == 0);
    CHECK(RunLayoutTestAt(key, 144) == 0);
    if (had)
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, LPBYTE(&old), sizeof old);
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
}
