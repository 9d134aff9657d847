// practice-room.exe run as a separate process, as a user would meet it.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "LogExpect.h"
#include "PracticeRoomProcess.h"
#include "SystemDpi.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <string>
#include <utility>

using practice_room::CheckLogEntries;
using practice_room::LogEntry;

namespace {

bool OnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The front room, or its child of a class.
HWND Room(const char* childClass = nullptr) {
    const HWND area = FindWindowExA(FindWindowA("AOL Frame25", nullptr), nullptr, "MDIClient", nullptr);
    const HWND room = FindWindowExA(area, nullptr, "AOL Child", nullptr);
    REQUIRE(room);
    return childClass ? FindWindowExA(room, nullptr, childClass, nullptr) : room;
}

std::string Corners(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace

// Released on Send, which has the mouse captured once pressed. Sent rather than posted, so that each case's
// messages are handled before the next case's text is set.
TEST_CASE("Send submits the input on a press and a release over it, as a button does") {
    const struct Case { const char* text; const char* pressedOn; int releasedAtX; bool submits; } cases[] = {
        {"pressed and released on Send", "_AOL_Icon", 10, true},
        {"dragged from the transcript onto Send", "RICHCNTLREADONLY", 10, false},
        {"pressed on Send, released left of it", "_AOL_Icon", -30, false},
    };
    PracticeRoomProcess room({});
    const HWND send = Room("_AOL_Icon");
    std::vector<LogEntry> expected;
    for (const Case& c : cases) {
        SendMessageA(Room("RICHCNTL"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        SendMessageA(Room(c.pressedOn), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageA(send, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.releasedAtX, 10));
        SendMessageA(send, WM_LBUTTONUP, 0, MAKELPARAM(c.releasedAtX, 10));
        expected.push_back({"room1", "settext", c.text});
        if (c.submits) expected.push_back({"room1", "line", c.text});
    }
    CheckLogEntries(room.WindowEntries(), expected);
    CHECK(room.Stop() == 0);
}

// Started from Explorer it has no console: a box says what ended it, and stays until it is answered.
TEST_CASE("a bad option or a failure shows in a box naming the practice room before it ends") {
    const struct { std::vector<std::wstring> options; std::wstring text; int exitCode; } cases[] = {
        {{L"--rooms", L"2", L"--bogus"},
         L"The practice room cannot start:\nunknown option \"--bogus\".\n\nusage: practice-room [option...]\n"
         L"Options, for testing only:\n--rooms N, --decoys N, --lacking,\n--grandchildren, --mixed-case,\n"
         L"--no-frame, --stray, --typed TEXT,\n--log FILE, --no-error-box",
         2},
        {{L"--log", L"\\no such folder\\room.log"}, L"The practice room has stopped:\ncannot create the log file.", 3},
    };
    for (const auto& c : cases) {
        CAPTURE(Narrow(c.text));
        ChildProcess room(L"" PRACTICE_ROOM_EXE, c.options);
        HWND box = nullptr;
        const auto shown = [&] {
            for (HWND window : room.VisibleWindows()) box = ClassName(window) == L"#32770" ? window : box;
            return box != nullptr;
        };
        REQUIRE(WaitUntil(shown, 20000));
        CHECK(MessageBoxText(box) == c.text);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        CHECK(room.WaitForExit(10000) == c.exitCode);
    }
}

// Wine drops a cross-process message of more than about 1 MiB, and the receiver's GetMessage fails.
TEST_CASE("a room whose message loop fails says so and exits non-zero" * doctest::skip(!OnWine())) {
    PracticeRoomProcess room({});
    tarvix_aol8::User32WindowManager desktop;
    tarvix_aol8::DeliverChatLine(desktop, std::u16string(1050000, u'x'));
    CHECK(room.Stop() == 3);
    const std::vector<LogEntry> log = room.Log();
    REQUIRE(log.size() >= 2);
    CheckLogEntries({log.end() - 2, log.end()},
                    {{"practice-room", "error", "GetMessage returned -1"}, {"practice-room", "exit", "3"}});
}

TEST_CASE("at 144 dpi the room's layout is its 96-dpi one, half as large again") {
    const SystemDpi dpi(144);
    PracticeRoomProcess room({});
    const HWND document = Room();
    RECT client{};
    GetClientRect(document, &client);
    const LONG w = client.right, h = client.bottom;
    // At 96 dpi: margins 4, the caption 20 high, the side panel 130 wide, the input row 26 high, Send 70 wide.
    const std::pair<const char*, RECT> expected[] = {
        {"_AOL_Static", {6, 6, w - 6, 36}},          {"RICHCNTLREADONLY", {6, 42, w - 207, h - 57}},
        {"_AOL_Combobox", {w - 201, 42, w - 6, 75}}, {"_AOL_Image", {w - 201, 84, w - 6, 180}},
        {"RICHCNTL", {6, h - 51, w - 117, h - 12}},  {"_AOL_Icon", {w - 111, h - 51, w - 6, h - 12}},
    };
    for (const auto& [name, rect] : expected) {
        INFO(name);
        RECT actual{};
        GetWindowRect(Room(name), &actual);
        MapWindowPoints(nullptr, document, reinterpret_cast<POINT*>(&actual), 2);
        CHECK(Corners(actual) == Corners(rect));
    }
    CHECK(room.Stop() == 0);
}

TEST_CASE("closing the room (Ctrl+F4) closes the practice room, as closing its frame does") {
    PracticeRoomProcess room({});
    PostMessageA(Room(), WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(room.Process().WaitForExit(10000) == 0);
    const std::vector<LogEntry> log = room.Log();
    REQUIRE_FALSE(log.empty());
    CheckLogEntries({log.back()}, {{"practice-room", "exit", "0"}});
}
