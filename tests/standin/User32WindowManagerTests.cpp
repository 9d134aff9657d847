// The user32 window manager itself: its queries against the stand-in, its yield on our own queue.
#include "LogExpect.h"
#include "StandIn.h"
#include "User32WindowManager.h"

#include <windows.h>

#include <string>

using standin::LogEntry;
using standin::StandInProcess;
using tarvix_aol8::User32WindowManager;
using tarvix_aol8::WindowHandle;

namespace {

std::string Caption(WindowHandle window) {
    char text[256] = "";
    GetWindowTextA(reinterpret_cast<HWND>(window), text, sizeof text);
    return text;
}

int dispatched = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++dispatched;
    return DefWindowProcW(window, message, wParam, lParam);
}

struct OwnWindow {
    OwnWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuenlowYieldTest";
        RegisterClassW(&wc);
        // Never shown: under Wine without a window manager destroying a shown window takes seconds.
        window = CreateWindowExW(0, wc.lpszClassName, L"yield", WS_OVERLAPPEDWINDOW, 0, 0, 200, 120,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        first = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 80, 20, window, nullptr,
                                wc.hInstance, nullptr);
        second = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 30, 80, 20, window, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~OwnWindow() { DestroyWindow(window); }
    HWND window, first, second;
};

}  // namespace

TEST_CASE("the user32 queries walk the chat client's real windows") {
    StandInProcess chat({L"--rooms", L"2", L"--decoys", L"1", L"--stray"});
    User32WindowManager desktop;
    const WindowHandle frame = desktop.FindTopLevel(u"aol frame25");
    REQUIRE(frame != 0);
    CHECK(Caption(frame) == "America Online (stand-in)");
    const WindowHandle area = desktop.FindChild(frame, u"mdiclient");
    const WindowHandle anchor = desktop.FindChild(area, u"aol child");
    REQUIRE(anchor != 0);

    SUBCASE("front to back over the area's children") {
        WindowHandle window = desktop.FirstSibling(anchor);
        CHECK(Caption(window) == "Window 1");
        CHECK(Caption(window = desktop.NextSibling(window)) == "Chat Room 1");
        CHECK(Caption(window = desktop.NextSibling(window)) == "Chat Room 2");
        CHECK(desktop.NextSibling(window) == 0);
        CHECK(desktop.FirstSibling(0) == 0);
        CHECK(desktop.NextSibling(0) == 0);
    }
    SUBCASE("direct children only, and whole class names") {
        const WindowHandle room = desktop.NextSibling(desktop.FirstSibling(anchor));
        CHECK(desktop.FindChild(room, u"RICHCNTL") != desktop.FindChild(room, u"richcntlreadonly"));
        CHECK(desktop.FindChild(frame, u"richcntl") == 0);
        CHECK(desktop.FindChild(room, u"richcnt") == 0);
        CHECK(desktop.FindChild(desktop.FirstSibling(anchor), u"richcntl") == 0);
    }
    SUBCASE("no parent: the top-level windows") {
        const WindowHandle stray = desktop.FindChild(0, u"richcntl");
        REQUIRE(stray != 0);
        CHECK(GetParent(reinterpret_cast<HWND>(stray)) == nullptr);
        desktop.SendChar(stray, u'\u00F8');
        desktop.SetText(stray, u"\u00E8");
        SendMessageA(reinterpret_cast<HWND>(stray), EM_SETSEL, 1, 2);
        standin::CheckLogEntries(chat.WindowEntries(),
                                 {{"stray", "char", "248"}, {"stray", "settext", "\xE8"}, {"stray", "msg", "0x00B1 0x1 0x2"}});
    }
}

TEST_CASE("the yield empties our own queue and hands WM_QUIT back") {
    OwnWindow own;
    User32WindowManager desktop;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    SUBCASE("every posted message is dispatched") {
        dispatched = 0;
        for (int i = 0; i < 3; ++i) PostMessageW(own.window, WM_APP, 0, 0);
        desktop.YieldToPendingEvents();
        CHECK(dispatched == 3);
        CHECK_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
    SUBCASE("a WM_QUIT is posted again with its exit code") {
        dispatched = 0;
        PostMessageW(own.window, WM_APP, 0, 0);
        PostQuitMessage(7);
        desktop.YieldToPendingEvents();
        CHECK(dispatched == 1);
        REQUIRE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        CHECK(msg.message == WM_QUIT);
        CHECK(msg.wParam == 7);
    }
    SUBCASE("Tab moves the focus, as in a dialog") {
        SetFocus(own.first);
        REQUIRE(GetFocus() == own.first);
        PostMessageW(own.first, WM_KEYDOWN, VK_TAB, 0);
        desktop.YieldToPendingEvents();
        CHECK(GetFocus() == own.second);
    }
}
