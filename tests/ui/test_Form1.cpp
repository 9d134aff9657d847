#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "Form1.h"
#include "Form1Ids.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

class StubDesktop final : public tarvix_aol8::WindowManager {
public:
    tarvix_aol8::WindowHandle FindTopLevel(std::u16string_view) override { return 0; }
    tarvix_aol8::WindowHandle FindChild(tarvix_aol8::WindowHandle, std::u16string_view) override { return 0; }
    tarvix_aol8::WindowHandle FirstSibling(tarvix_aol8::WindowHandle) override { return 0; }
    tarvix_aol8::WindowHandle NextSibling(tarvix_aol8::WindowHandle) override { return 0; }
    void YieldToPendingEvents() override {}
    void SetText(tarvix_aol8::WindowHandle, std::u16string_view) override {}
    void SendChar(tarvix_aol8::WindowHandle, char16_t) override {}
};

constexpr VeskFade::ColorValue kSystemButtonFace = -2147483633;  // 0x8000000F

// A shown Form1 whose window proc is wrapped to log WM_COMMAND; its WM_QUIT is drained at the end.
struct ShownForm {
    StubDesktop desktop;
    std::optional<Form1> form;
    HWND window = nullptr;
    static inline WNDPROC original = nullptr;
    static inline std::vector<WPARAM> commands;

    ShownForm() {
        form.emplace(desktop);
        window = form->Window();
        commands.clear();
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Logging)));
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

    HWND Item(int id) const { return GetDlgItem(window, id); }
    Control Named(int id, const char* name) const { return {Item(id), name}; }
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
    void Scroll(int id, int code, int position = 0) const {
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Item(id)));
    }
    VeskFade::ColorValue Swatch(int id) const { return ReadBackColor({Item(id), "swatch"}); }
    RECT InClient(int id) const {
        RECT rect{};
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
};

COLORREF BrushColor(LRESULT brush) {
    LOGBRUSH info{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
    return info.lbColor;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

int SystemDpiX() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

struct Placement {
    int id;
    int left, top, height;        // twips
    int leftPx, topPx, heightPx;  // at 96 dpi
};
// Every control is 1215 twips (81 pixels) wide.
constexpr Placement kTable[] = {
    {Form1Ids::Text2, 120, 120, 285, 8, 8, 19},      {Form1Ids::Command2, 1560, 120, 255, 104, 8, 17},
    {Form1Ids::Text1, 120, 480, 285, 8, 32, 19},     {Form1Ids::Command1, 1560, 480, 255, 104, 32, 17},
    {Form1Ids::color1, 120, 960, 375, 8, 64, 25},    {Form1Ids::Color2, 1560, 960, 375, 104, 64, 25},
    {Form1Ids::red1, 120, 1440, 135, 8, 96, 9},      {Form1Ids::green1, 120, 1560, 135, 8, 104, 9},
    {Form1Ids::blue1, 120, 1680, 135, 8, 112, 9},    {Form1Ids::Red2, 1560, 1440, 135, 104, 96, 9},
    {Form1Ids::Blue2, 1560, 1560, 135, 104, 104, 9}, {Form1Ids::Green2, 1560, 1680, 135, 104, 112, 9},
};

// Twips to pixels, halves away from zero.
int Px(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace

TEST_CASE("the layout follows the twips table at the system dpi") {
    ShownForm shown;
    const int dpi = SystemDpiX();
    if (const char* expected = std::getenv("QUENLOW_EXPECT_DPI")) REQUIRE(dpi == std::atoi(expected));

    RECT client{};
    GetClientRect(shown.window, &client);
    CHECK(client.right == Px(2895, dpi));
    CHECK(client.bottom == Px(1920, dpi));
    for (const Placement& row : kTable) {
        CAPTURE(row.id);
        const RECT rect = shown.InClient(row.id);
        CHECK(rect.left == Px(row.left, dpi));
        CHECK(rect.top == Px(row.top, dpi));
        CHECK(rect.right - rect.left == Px(1215, dpi));
        CHECK(rect.bottom - rect.top == Px(row.height, dpi));
        if (dpi == 96) {
            CHECK(rect.left == row.leftPx);
            CHECK(rect.top == row.topPx);
            CHECK(rect.right - rect.left == 81);
            CHECK(rect.bottom - rect.top == row.heightPx);
        }
    }
    if (dpi == 96) {
        CHECK(client.right == 193);
        CHECK(client.bottom == 128);
    }

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(shown.Item(Form1Ids::Text1), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    CHECK(std::wstring(font.lfFaceName) == L"Arial Narrow");
    CHECK(font.lfHeight == -(825 * dpi + 3600) / 7200);
    CHECK(font.lfWeight == 400);
    CHECK(font.lfCharSet == 0);
    CHECK_FALSE(font.lfItalic);
    CHECK(SendMessageW(shown.Item(Form1Ids::Command2), WM_GETFONT, 0, 0) ==
          SendMessageW(shown.Item(Form1Ids::Text1), WM_GETFONT, 0, 0));
}

TEST_CASE("the window and its controls start as the table sets them") {
    ShownForm shown;
    wchar_t caption[64] = {};
    GetWindowTextW(shown.window, caption, 64);
    CHECK(std::wstring(caption) == L".:[ Quenlow ]:.");
    const auto style = GetWindowLongPtrW(shown.window, GWL_STYLE);
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0);
    CHECK(GetDlgItem(shown.window, IDOK) == nullptr);
    CHECK(GetDlgItem(shown.window, IDCANCEL) == nullptr);

    SUBCASE("text boxes: editable single lines without a limit, grey E0E0E0") {
        for (auto [id, text] : {std::pair{Form1Ids::Text1, u"Text to fade"}, std::pair{Form1Ids::Text2, u"Handle"}}) {
            const HWND box = shown.Item(id);
            CHECK(ClassOf(box) == L"Edit");
            CHECK(ReadText({box, "box"}) == text);
            CHECK((GetWindowLongPtrW(box, GWL_STYLE) & (ES_MULTILINE | ES_PASSWORD | ES_READONLY)) == 0);
            CHECK(SendMessageW(box, EM_GETLIMITTEXT, 0, 0) > 1000000);
            HDC dc = GetDC(box);
            const LRESULT brush = SendMessageW(shown.window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(box));
            CHECK(GetBkColor(dc) == RGB(224, 224, 224));
            CHECK(GetTextColor(dc) == GetSysColor(COLOR_WINDOWTEXT));
            CHECK(BrushColor(brush) == RGB(224, 224, 224));
            ReleaseDC(box, dc);
        }
    }
    SUBCASE("buttons: plain push buttons, neither the default") {
        for (auto [id, text] : {std::pair{Form1Ids::Command1, L"Send"}, std::pair{Form1Ids::Command2, L"load it"}}) {
            const HWND button = shown.Item(id);
            wchar_t label[32] = {};
            GetWindowTextW(button, label, 32);
            CHECK(std::wstring(label) == text);
            CHECK((GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON);
        }
    }
    SUBCASE("swatches: bordered, captionless, never focused, painted in the button face") {
        for (int id : {Form1Ids::color1, Form1Ids::Color2}) {
            const HWND swatch = shown.Item(id);
            CHECK(ClassOf(swatch) == L"Static");
            CHECK(GetWindowTextLengthW(swatch) == 0);
            const auto swatchStyle = GetWindowLongPtrW(swatch, GWL_STYLE);
            CHECK((swatchStyle & WS_BORDER) != 0);
            CHECK((swatchStyle & WS_TABSTOP) == 0);
            CHECK(shown.Swatch(id) == kSystemButtonFace);
            HDC dc = GetDC(swatch);
            CHECK(BrushColor(SendMessageW(shown.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(swatch))) == GetSysColor(COLOR_BTNFACE));
            ReleaseDC(swatch, dc);
        }
    }
    SUBCASE("scroll bars: horizontal, 0 to 255, at 0") {
        for (int id : {Form1Ids::red1, Form1Ids::green1, Form1Ids::blue1, Form1Ids::Red2, Form1Ids::Green2,
                       Form1Ids::Blue2}) {
            const HWND bar = shown.Item(id);
            CHECK(ClassOf(bar) == L"ScrollBar");
            CHECK((GetWindowLongPtrW(bar, GWL_STYLE) & SBS_VERT) == 0);
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            REQUIRE(GetScrollInfo(bar, SB_CTL, &info));
            CHECK(info.nMin == 0);
            CHECK(info.nMax == 255);
            CHECK(info.nPos == 0);
        }
    }
}

TEST_CASE("keyboard: focus at start, the Tab cycle, Enter and Escape press nothing") {
    ShownForm shown;
    CHECK(GetFocus() == shown.Item(Form1Ids::Blue2));
    const int cycle[] = {Form1Ids::Blue2, Form1Ids::Green2, Form1Ids::Red2,   Form1Ids::Text1, Form1Ids::Command1,
                         Form1Ids::blue1, Form1Ids::green1, Form1Ids::red1,   Form1Ids::Text2, Form1Ids::Command2};
    for (int step = 1; step <= 10; ++step) {
        ShownForm::Key(VK_TAB);
        CAPTURE(step);
        CHECK(GetDlgCtrlID(GetFocus()) == cycle[step % 10]);
    }
    for (int step = 9; step >= 0; --step) {
        ShownForm::Key(VK_TAB, true);
        CAPTURE(step);
        CHECK(GetDlgCtrlID(GetFocus()) == cycle[step]);
    }
    // Back at Blue2: the arrow keys move it.
    ShownForm::Key(VK_RIGHT);
    CHECK(ReadPosition(shown.Named(Form1Ids::Blue2, "Blue2")) == 1);
    CHECK(shown.Swatch(Form1Ids::Color2) == 0x010000);

    for (int id : {Form1Ids::Blue2, Form1Ids::Text1, Form1Ids::Text2}) {
        CAPTURE(id);
        SetFocus(shown.Item(id));
        ShownForm::commands.clear();
        ShownForm::Key(VK_RETURN);
        ShownForm::Key(VK_ESCAPE);
        for (WPARAM command : ShownForm::commands) {
            CHECK(LOWORD(command) != Form1Ids::Command1);
            CHECK(LOWORD(command) != Form1Ids::Command2);
        }
        CHECK(GetFocus() == shown.Item(id));
    }
}

TEST_CASE("colour mixers: each bar's change recomputes its own swatch") {
    ShownForm shown;
    struct Step {
        int bar, code, thumb;
        int position;
        VeskFade::ColorValue color1, Color2;
    };
    constexpr auto face = kSystemButtonFace;
    const Step steps[] = {
        {Form1Ids::Blue2, SB_THUMBTRACK, 100, 0, face, face},  // dragging raises nothing
        {Form1Ids::Blue2, SB_LINELEFT, 0, 0, face, face},      // already at 0: no change
        {Form1Ids::Blue2, SB_LINERIGHT, 0, 1, face, 0x010000},  // the middle bar is blue
        {Form1Ids::Blue2, SB_THUMBPOSITION, 200, 200, face, 0xC80000},
        {Form1Ids::Blue2, SB_ENDSCROLL, 0, 200, face, 0xC80000},
        {Form1Ids::Green2, SB_PAGERIGHT, 0, 1, face, 0xC80100},
        {Form1Ids::Red2, SB_RIGHT, 0, 255, face, 0xC801FF},
        {Form1Ids::Red2, SB_PAGELEFT, 0, 254, face, 0xC801FE},
        {Form1Ids::Red2, SB_LEFT, 0, 0, face, 0xC80100},
        {Form1Ids::red1, SB_LINERIGHT, 0, 1, 1, 0xC80100},
        {Form1Ids::red1, SB_LINELEFT, 0, 0, 0, 0xC80100},  // back to 0: black, not the system colour
        {Form1Ids::green1, SB_THUMBPOSITION, 2, 2, 0x000200, 0xC80100},
        {Form1Ids::blue1, SB_THUMBPOSITION, 3, 3, 0x030200, 0xC80100},
        {Form1Ids::red1, SB_THUMBPOSITION, 1, 1, 197121, 0xC80100},
        {Form1Ids::green1, SB_THUMBPOSITION, 300, 255, 0x03FF01, 0xC80100},  // clamped to the range
    };
    for (const Step& step : steps) {
        CAPTURE(step.bar);
        CAPTURE(step.code);
        shown.Scroll(step.bar, step.code, step.thumb);
        CHECK(ReadPosition(shown.Named(step.bar, "bar")) == step.position);
        CHECK(shown.Swatch(Form1Ids::color1) == step.color1);
        CHECK(shown.Swatch(Form1Ids::Color2) == step.Color2);
    }
    const HWND swatch = shown.Item(Form1Ids::Color2);
    HDC dc = GetDC(swatch);
    CHECK(BrushColor(SendMessageW(shown.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(swatch))) == 0xC80100);
    ReleaseDC(swatch, dc);

    SUBCASE("a notification that leaves the position raises no change") {
        WriteBackColor(shown.Named(Form1Ids::color1, "color1"), 0x123456);
        WriteBackColor(shown.Named(Form1Ids::Color2, "Color2"), 0x654321);
        shown.Scroll(Form1Ids::green1, SB_LINERIGHT);       // at 255
        shown.Scroll(Form1Ids::green1, SB_RIGHT);
        shown.Scroll(Form1Ids::red1, SB_THUMBPOSITION, 1);  // at 1
        shown.Scroll(Form1Ids::Red2, SB_PAGELEFT);          // at 0
        shown.Scroll(Form1Ids::Blue2, SB_THUMBTRACK, 5);
        CHECK(shown.Swatch(Form1Ids::color1) == 0x123456);
        CHECK(shown.Swatch(Form1Ids::Color2) == 0x654321);
    }
}

namespace {

// Closes the next message box of this thread and keeps its text.
std::wstring g_messageBoxText;
HHOOK g_hook = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM) {
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    if (ClassOf(child) == L"Static" && text[0]) g_messageBoxText += text;
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
    SUBCASE("a handler's error is shown naming the handler, and the swatch keeps its colour") {
        ShownForm shown;
        DestroyWindow(shown.Item(Form1Ids::Green2));
        g_messageBoxText.clear();
        g_hook = SetWindowsHookExW(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
        shown.Scroll(Form1Ids::Blue2, SB_LINERIGHT);
        UnhookWindowsHookEx(g_hook);
        CHECK(g_messageBoxText == L"Blue2_Change: reading the position of Green2 failed (system error 1400)");
        CHECK(shown.Swatch(Form1Ids::Color2) == kSystemButtonFace);
        CHECK(IsWindow(shown.window));
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

// Sets the prefix's system dpi for new processes while it lives, then puts the old value back.
class LogPixels {
public:
    LogPixels() {
        REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) == ERROR_SUCCESS);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExW(key_, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
               ERROR_SUCCESS;
    }
    ~LogPixels() {
        if (had_)
            RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
        else
            RegDeleteValueW(key_, kValue);
        RegCloseKey(key_);
    }
    void Set(DWORD dpi) {
        REQUIRE(RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
                ERROR_SUCCESS);
    }

private:
    static constexpr const wchar_t* kValue = L"LogPixels";
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

// Runs this test program's layout test in a new process, which reads the system dpi afresh.
DWORD RunLayoutTestAt(int dpi) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --test-case=\"the layout follows*\"";
    SetEnvironmentVariableW(L"QUENLOW_EXPECT_DPI", std::to_wstring(dpi).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"QUENLOW_EXPECT_DPI", nullptr);
    REQUIRE(started);
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

}  // namespace

TEST_CASE("at 120 and 144 dpi the layout scales with the system's ratio") {
    if (std::getenv("QUENLOW_EXPECT_DPI")) return;
    LogPixels logPixels;
    for (int dpi : {120, 144}) {
        CAPTURE(dpi);
        logPixels.Set(static_cast<DWORD>(dpi));
        CHECK(RunLayoutTestAt(dpi) == 0);
    }
}
