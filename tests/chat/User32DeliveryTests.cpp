// The chat bridge on the real desktop, against the practice room running as another process; and the ANSI
// code-page conversion it sends its lines in, Windows-1252 under Wine here (LANG=en_US.UTF-8).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "AnsiText.h"
#include "LogExpect.h"
#include "PracticeRoomProcess.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <windows.h>

TEST_CASE("a line reaches the front room's input box as exactly five messages, and nothing else does") {
    // Twenty-one bytes a faded character; Wine refuses cross-process messages from about 1 MiB on.
    std::u16string million;
    while (million.size() + 21 <= 1000000) million += u"<Font Color=#0F0080>x";
    million.resize(1000000, u'!');
    struct Case {
        std::string name;
        std::vector<std::wstring> options;
        std::u16string line;
        std::string ansi;  // what the room receives; empty: nothing reaches any window
    };
    const Case cases[] = {
        {"text typed beforehand is discarded", {L"--typed", L"half a sentence"}, u"<Font Color=#0F0080>x",
         "<Font Color=#0F0080>x"},
        {"the ANSI code page", {}, u"q\u00F9\u20AC\u0100\u4E2D", "q\xF9\x80" "A?"},
        {"a line of a million characters arrives whole", {}, million, std::string(million.begin(), million.end())},
        {"two rooms behind near misses: the front one",
         {L"--rooms", L"2", L"--decoys", L"3", L"--lacking", L"--grandchildren"}, u"hi", "hi"},
        {"class names in another case", {L"--mixed-case"}, u"hi", "hi"},
        {"no frame: a stray top-level RICHCNTL receives nothing", {L"--no-frame", L"--stray"}, u"hi", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        PracticeRoomProcess chat(c.options);
        tarvix_aol8::User32WindowManager desktop;
        tarvix_aol8::DeliverChatLine(desktop, c.line);
        practice_room::CheckLogEntries(chat.WindowEntries(), c.ansi.empty() ? std::vector<practice_room::LogEntry>{}
                                                                      : practice_room::DeliveryEntries("room1", c.ansi));
        CHECK(chat.Stop() == 0);
    }
}

TEST_CASE("the yield empties our own queue and hands a WM_QUIT back with its exit code") {
    for (int i = 0; i < 2; ++i) PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    PostQuitMessage(7);
    tarvix_aol8::User32WindowManager().YieldToPendingEvents();
    MSG msg;
    REQUIRE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    CHECK(msg.message == WM_QUIT);
    CHECK(msg.wParam == 7);
}

TEST_CASE("Windows-1252 both ways; a character that it lacks becomes its best fit or '?'") {
    REQUIRE(GetACP() == 1252);
    const struct { std::u16string text; std::string ansi; bool both; } rows[] = {
        {u"", "", true},
        {u"\u20AC\u2122 caf\u00E9", "\x80\x99 caf\xE9", true},
        {u"\u0100\u0142\u2212\u4E2D\uAC00", "Al-??", false},
    };
    for (const auto& row : rows) {
        CHECK(ToAnsi(row.text) == row.ansi);
        if (row.both) CHECK(FromAnsi(row.ansi) == row.text);
    }
}
