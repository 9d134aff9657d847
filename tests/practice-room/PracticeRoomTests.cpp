// practice-room.exe run as a separate process, as a user would meet it; and its transcript's control in this
// process, which takes a thousand lines in seconds.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "LogExpect.h"
#include "PracticeRoomProcess.h"
#include "Printable.h"
#include "RichEditLine.h"
#include "PrefixValue.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using practice_room::CheckLogEntries;
using practice_room::LogEntry;
using tarvix_aol8::DeliverChatLine;

namespace {

tarvix_aol8::User32WindowManager desktop;

// A window's text, as WM_GETTEXT gives it to a screen reader.
std::string Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, text.size(), LPARAM(text.data()))));
    return Printable<wchar_t>(text);
}

// The thread's focus, read from another process.
HWND Focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(FrontDocument(), nullptr), &info);
    return info.hwndFocus;
}

// The transcript's control, readied as the room readies its own; lines go in as the room's do.
struct Control {
    HWND window = (LoadLibraryW(L"riched20.dll"), CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | WS_VSCROLL |
                   ES_MULTILINE | ES_READONLY, 0, 0, 440, 320, nullptr, nullptr, nullptr, nullptr));
    practice_room::KeptLines kept;

    Control() { practice_room::SetUpTranscriptControl(window); }
    ~Control() { DestroyWindow(window); }
    void Add(const std::string& markup) {
        practice_room::AppendLine(window, kept, practice_room::ShownLine(std::u16string(markup.begin(), markup.end())));
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, const void* lParam = nullptr) const {
        return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    // Where text stands first from from on; positions count a line break as one character.
    LONG Find(const std::string& text, LONG from = 0) const {
        const std::wstring wide(text.begin(), text.end());
        FINDTEXTEXW find{{from, -1}, wide.c_str(), {}};
        return static_cast<LONG>(Send(EM_FINDTEXTEXW, FR_DOWN, &find));
    }
    LONG Y(LONG at) const {
        POINTL where{};
        SendMessageW(window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), at);
        return where.y;
    }
    void Select(LONG from, LONG to) const {
        const CHARRANGE range{from, to};
        Send(EM_EXSETSEL, 0, &range);
    }
    // The selected text, and the text of the row at the top of the view.
    std::pair<std::string, std::string> Place() const {
        wchar_t selected[4096] = {}, top[4096] = {4095};
        const LRESULT topLength = Send(EM_GETLINE, Send(EM_GETFIRSTVISIBLELINE), top);
        return {Printable<wchar_t>({selected, static_cast<std::size_t>(Send(EM_GETSELTEXT, 0, selected))}),
                Printable<wchar_t>({top, static_cast<std::size_t>(topLength)})};
    }
    // The lines whose rows after the first do not stand in by 240 twips.
    int FlushLines() const {
        int flush = 0;
        for (LONG at = Find("Guest: "); at >= 0; at = Find("Guest: ", at + 1)) {
            PARAFORMAT2 paragraph{{sizeof paragraph}};
            Select(at, at);
            Send(EM_GETPARAFORMAT, 0, &paragraph);
            flush += paragraph.dxStartIndent != 0 || paragraph.dxOffset != 240;
        }
        return flush;
    }
    // Face, size, colour, back colour (FFFFFFFF: none) and effects (bold, italic, underline, strikeout) of from..to.
    std::string Format(LONG from, LONG to) const {
        CHARFORMAT2W format{{sizeof format}};
        Select(from, to);
        Send(EM_GETCHARFORMAT, SCF_SELECTION, &format);
        const auto rgb = [](COLORREF c) { return long{GetRValue(c)} << 16 | GetGValue(c) << 8 | GetBValue(c); };
        char text[128];
        std::snprintf(text, sizeof text, "%s %ldpt %06lX on %06lX ", Printable<wchar_t>(format.szFaceName).c_str(),
                      format.yHeight / 20, rgb(format.crTextColor),
                      format.dwEffects & CFE_AUTOBACKCOLOR ? -1 : rgb(format.crBackColor));
        std::string effects;
        for (int bit = 0; bit < 4; ++bit) effects += format.dwEffects >> bit & 1 ? "bius"[bit] : '-';  // CFE_BOLD...
        return text + effects;
    }
};

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

// Keys and the mouse posted as the system posts them, for the room's own loop and its dialog keys.
TEST_CASE("Send is a push button: a click, Space, Enter and BM_CLICK on it each post the line once, as Enter in "
          "the box does; Tab goes box, Send, transcript, people list") {
    PracticeRoomProcess room({});
    const HWND box = FrontDocument("RICHCNTL"), send = FrontDocument("_AOL_Icon");
    REQUIRE(WaitUntil([&] { return Focus() == box; }, 5000));
    for (HWND next : {send, FrontDocument("RICHCNTLREADONLY"), FrontDocument("_AOL_Combobox"), box}) {
        PostKey(Focus(), VK_TAB);
        CHECK(WaitUntil([&] { return Focus() == next; }, 5000));
    }
    const struct { const char* text; std::function<void()> press; } presses[] = {
        {"a click on Send", [&] {
             PostMessageW(send, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
             PostMessageW(send, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
         }},
        {"Space on Send", [&] { PostKey(send, VK_SPACE); }},
        {"Enter on Send", [&] { PostKey(send, VK_RETURN); }},
        {"BM_CLICK on Send", [&] { SendMessageW(send, BM_CLICK, 0, 0); }},
        {"Enter in the box", [&] { PostKey(box, VK_RETURN); }},
    };
    std::vector<LogEntry> expected;
    for (const auto& press : presses) {
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(press.text));
        press.press();
        expected.push_back({"room1", "settext", press.text});
        if (press.text == std::string("Enter in the box")) expected.push_back({"room1", "char", "13"});
        expected.push_back({"room1", "line", press.text});
        REQUIRE(WaitUntil([&] { return room.WindowEntries().size() >= expected.size(); }, 5000));
    }
    // Behind everything posted so far: a second line from any press would stand before it.
    PostMessageW(box, WM_CHAR, '.', 0);
    expected.push_back({"room1", "char", "46"});
    REQUIRE(WaitUntil([&] { return room.WindowEntries().size() >= expected.size(); }, 5000));
    CheckLogEntries(room.WindowEntries(), expected);
    CHECK(Text(box) == ".");  // each line left the box empty
    CHECK(Text(send) == "Send");
    CHECK(SendMessageW(send, WM_GETDLGCODE, 0, 0) == (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON));
    CHECK(room.Stop() == 0);
}

TEST_CASE("the people list drops down, by mouse and by keyboard, listing who is in the room: the guest, chosen") {
    PracticeRoomProcess room({});
    const HWND list = FrontDocument("_AOL_Combobox");
    CHECK(SendMessageW(list, CB_GETCOUNT, 0, 0) == 1);
    CHECK(SendMessageW(list, CB_GETCURSEL, 0, 0) == 0);
    wchar_t item[64] = {};
    CHECK(SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item)) == 5);
    CHECK(Printable<wchar_t>(item) == "Guest");
    CHECK(Text(list) == "Guest");
    // The list that drops down is a window of its own, shown below the field.
    const auto shownList = [&]() -> HWND {
        for (HWND window : room.Process().VisibleWindows())
            if (ClassName(window) == L"ComboLBox") return window;
        return nullptr;
    };
    const struct { const char* how; std::function<void()> act; bool dropped; } steps[] = {
        {"F4", [&] { PostKey(list, VK_F4); }, true},
        {"Enter chooses", [&] { PostKey(list, VK_RETURN); }, false},
        {"a click on the field", [&] {
             PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
             PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
         }, true},
        {"Escape", [&] { PostKey(list, VK_ESCAPE); }, false},
        {"CB_SHOWDROPDOWN", [&] { SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0); }, true},
        {"CB_SHOWDROPDOWN FALSE", [&] { SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0); }, false},
    };
    for (const auto& step : steps) {
        CAPTURE(step.how);
        step.act();
        CHECK(WaitUntil([&] { return SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) == step.dropped; }, 5000));
        CHECK((shownList() != nullptr) == step.dropped);
        if (step.dropped) CHECK(SendMessageW(shownList(), LB_GETCOUNT, 0, 0) == 1);
        CHECK(SendMessageW(list, CB_GETCURSEL, 0, 0) == 0);
    }
    CHECK(room.Stop() == 0);
}

TEST_CASE("the transcript reads back each line as shown, in the ANSI code page") {
    const struct {
        std::u16string line;
        std::string shown;  // empty: no line is added
    } lines[] = {
        {u"{\\rtf1{\\object\\objemb{\\*\\objdata 0102}}}", "Guest: {\\rtf1{\\object\\objemb{\\*\\objdata 0102}}}"},
        {u"\\par }", "Guest: \\par }"},
        {u"<b>\\u8364?</b> http://example.com/", "Guest: \\u8364? http://example.com/"},
        {u"<i>i</i> <u>u</u> <s>s</s> <font size=7 back=#FFFF00>big</font>", "Guest: i u s big"},
        {u"\u20AC\u2122", "Guest: \\u20AC\\u2122"},  // the bytes 0x80 0x99 of Windows-1252
        {u"<b></b>", ""},
    };
    PracticeRoomProcess chat({});
    std::string expected;
    for (const auto& line : lines) {
        DeliverChatLine(desktop, line.line);
        if (!line.shown.empty()) expected += (expected.empty() ? "" : "\\u000D\\u000A") + line.shown;
    }
    CHECK(Text(FrontDocument("RICHCNTLREADONLY")) == expected);
    CHECK(chat.Stop() == 0);
}

// In this process: a thousand lines in seconds. The lines of size 7 make the text far taller than 65,535 pixels.
TEST_CASE("the transcript's control: each line from the room's format; a reader keeps the top line and the selection "
          "as lines arrive and the oldest go; the newest 1,000 lines kept whole, 100 going at once, wrapped rows "
          "standing in") {
    Control control;
    const struct { std::string markup, text, format; } formats[] = {
        {"<font face=\"Liberation Serif\" size=7 color=#FF0000 back=#FFFF00><b><i><u><s>red", "red",
         "Liberation Serif 36pt FF0000 on FFFF00 bius"},
        {"plain", "plain", "Arial 10pt 000000 on FFFFFFFF ----"},
        {"<font size=1 color=#0000FF>small", "small", "Arial 8pt 0000FF on FFFFFFFF ----"},
    };
    for (const auto& row : formats) {
        CAPTURE(row.markup);
        control.Add(row.markup);
        const LONG at = control.Find("Guest: " + row.text) + 7;
        CHECK(control.Format(at - 7, at) == "Arial 10pt 000000 on FFFFFFFF b---");
        CHECK(control.Format(at, at + static_cast<LONG>(row.text.size())) == row.format);
        CHECK(control.FlushLines() == 0);
    }
    // Line n: "[n]", and every 50th 2,000 characters more, cut, in many rows; all in size 7 (rows far higher than the
    // control's default) but for lines 931 to 989 in size 1 (lower).
    const auto text = [](int n) { return "[" + std::to_string(n) + "] " + (n % 50 ? "tall" : std::string(2100, 'w')); };
    const auto add = [&](int n) { control.Add((n > 930 && n < 990 ? "<font size=1>" : "<font size=7>") + text(n)); };
    int lines = 3;
    while (lines < 997) add(++lines);
    control.Send(WM_VSCROLL, SB_BOTTOM);
    REQUIRE(control.Y(0) < -65535);

    // The reader's place is part of a line selected from the end, which scrolls that line to the top.
    const auto selectFromEnd = [&](int n) {
        control.Send(WM_VSCROLL, SB_BOTTOM);
        const LONG at = control.Find("[" + std::to_string(n) + "]");
        control.Select(at, at + 3);
    };
    const struct { std::string reader; std::function<void()> place; int until; bool follows = false; } readers[] = {
        {"at the end, part of the last line selected", [&] { selectFromEnd(lines); }, 998, true},
        {"a page back from the end", [&] { control.Send(WM_VSCROLL, SB_PAGEUP); }, 999},
        {"far back, more than 65,535 pixels down, part of a line selected", [&] { selectFromEnd(950); }, 1000},
        {"far back as the oldest 100 lines go", [&] { selectFromEnd(700); }, 1001},
    };
    for (const auto& row : readers) {
        CAPTURE(row.reader);
        row.place();
        const auto [selected, top] = control.Place();
        while (lines < row.until) add(++lines);
        CHECK(control.Place().first == selected);
        if (row.follows) CHECK(control.Y(control.Find("[" + std::to_string(lines) + "]")) < 320);  // in view
        else CHECK(control.Place().second == top);
    }
    while (lines < 1101) add(++lines);  // the oldest 100 go again
    std::string kept;
    for (int n = 201; n <= 1101; ++n)
        kept += "\\u000D\\u000AGuest: " + (n % 50 ? text(n) : text(n).substr(0, 2000) + "\\u2026");
    kept.erase(0, 12);  // the line break before the first
    CHECK(Text(control.window) == kept);
    CHECK(control.FlushLines() == 0);
}

// A face named outside ASCII, as the system may name one in another language: under Wine an alias of Liberation
// Sans, which a process started afterwards draws with. This test runs again in such a process.
TEST_CASE("faces: one named outside ASCII reaches the transcript whole" * doctest::skip(!OnWine())) {
    constexpr wchar_t kFace[] = L"MS \u30B4\u30B7\u30C3\u30AF";
    if (!std::getenv("QUENLOW_LOCAL_FACE")) {
        const PrefixValue alias(L"Software\\Wine\\Fonts\\Replacements", kFace, REG_SZ, L"Liberation Sans",
                                sizeof L"Liberation Sans");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        SetEnvironmentVariableA("QUENLOW_LOCAL_FACE", "1");
        CHECK(ChildProcess(self, {L"--test-case=faces:*"}).WaitForExit(60000) == 0);
        SetEnvironmentVariableA("QUENLOW_LOCAL_FACE", nullptr);
        return;
    }
    Control control;
    const std::u16string markup = u"<font face=\"MS \u30B4\u30B7\u30C3\u30AF\">x";
    practice_room::AppendLine(control.window, control.kept, practice_room::ShownLine(markup));
    CHECK(control.Format(7, 8) == "MS \\u30B4\\u30B7\\u30C3\\u30AF 10pt 000000 on FFFFFFFF ----");
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
        CHECK(room.AnswerMessageBox(20000) == c.text);
        CHECK(room.WaitForExit(10000) == c.exitCode);
    }
}

// Wine drops a cross-process message of more than about 1 MiB, and the receiver's GetMessage fails.
TEST_CASE("a room whose message loop fails says so and exits non-zero" * doctest::skip(!OnWine())) {
    PracticeRoomProcess room({});
    DeliverChatLine(desktop, std::u16string(1050000, u'x'));
    CHECK(room.Stop() == 3);
    const std::vector<LogEntry> log = room.Log();
    REQUIRE(log.size() >= 2);
    CheckLogEntries({log.end() - 2, log.end()},
                    {{"practice-room", "error", "GetMessage returned -1"}, {"practice-room", "exit", "3"}});
}

TEST_CASE("at 144 dpi the room's children grow half as large again, each inside the room, none over another"
          * doctest::skip(!OnWine())) {
    const auto rectangle = [](const char* childClass) {
        RECT rect{};
        GetWindowRect(FrontDocument(childClass), &rect);
        MapWindowPoints(nullptr, FrontDocument(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const auto inputHeight = [&] { return rectangle("RICHCNTL").bottom - rectangle("RICHCNTL").top; };
    const int at96 = (PracticeRoomProcess({}), inputHeight());  // the room at 96 dpi ends after the call
    const SystemDpi dpi(144);
    PracticeRoomProcess room({});
    CHECK(inputHeight() == doctest::Approx(at96 * 1.5).epsilon(0.05));
    RECT client{}, inside{}, overlap{};
    GetClientRect(FrontDocument(), &client);
    std::vector<RECT> children;
    for (const char* name : {"_AOL_Static", "RICHCNTLREADONLY", "_AOL_Combobox", "_AOL_Icon", "RICHCNTL", "_AOL_Image"}) {
        CAPTURE(name);
        const RECT child = children.emplace_back(rectangle(name));
        CHECK((IntersectRect(&inside, &child, &client) && EqualRect(&inside, &child)));
        for (const RECT& other : children) CHECK((&other == &children.back() || !IntersectRect(&overlap, &child, &other)));
    }
}

TEST_CASE("closing a document: the room closes the practice room; any other goes alone, and lines still arrive") {
    {
        PracticeRoomProcess room({L"--decoys", L"1"});
        const HWND decoy = FrontDocument();  // in front
        PostMessageA(decoy, WM_SYSCOMMAND, SC_CLOSE, 0);
        // Closed while the delivery walks the windows, the decoy would end the walk there.
        REQUIRE(WaitUntil([&] { return !IsWindow(decoy); }, 10000));
        DeliverChatLine(desktop, u"still here");
        CheckLogEntries(room.WindowEntries(), practice_room::DeliveryEntries("room1", "still here"));
        CHECK(room.Stop() == 0);
    }
    PracticeRoomProcess room({});
    PostMessageA(FrontDocument(), WM_SYSCOMMAND, SC_CLOSE, 0);  // Ctrl+F4
    CHECK(room.Process().WaitForExit(10000) == 0);
    CheckLogEntries({room.Log().back()}, {{"practice-room", "exit", "0"}});
}
