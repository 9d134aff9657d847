// The chat bridge on the real desktop, against the stand-in chat client running as another process.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "LogExpect.h"
#include "StandIn.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <string>
#include <vector>

using standin::CheckLogEntries;
using standin::DeliveryEntries;
using standin::LogEntry;
using standin::StandInProcess;

namespace {

void Deliver(std::u16string_view line) {
    tarvix_aol8::User32WindowManager desktop;
    tarvix_aol8::DeliverChatLine(desktop, line);
}

std::vector<LogEntry> Concat(std::vector<LogEntry> a, const std::vector<LogEntry>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Ends the stand-in the way a user would and checks that it went cleanly.
void CheckCleanExit(StandInProcess& chat) {
    CHECK(chat.Stop() == 0);
    const auto log = chat.Log();
    REQUIRE_FALSE(log.empty());
    CHECK(log.back() == LogEntry{"standin", "exit", "0"});
}

}  // namespace

TEST_CASE("a delivered line reaches the room's input box as exactly five messages") {
    SUBCASE("a faded line") {
        StandInProcess chat({});
        Deliver(u"<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c");
        CheckLogEntries(chat.WindowEntries(),
                        DeliveryEntries("room1", "<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c"));
        CheckCleanExit(chat);
    }
    SUBCASE("an empty line still gets its Enter") {
        StandInProcess chat({});
        Deliver(u"");
        CheckLogEntries(chat.WindowEntries(), DeliveryEntries("room1", ""));
    }
    SUBCASE("text typed into the box beforehand is discarded") {
        StandInProcess chat({L"--typed", L"half a sentence"});
        Deliver(u"<Font Color=#0F0080>x");
        CheckLogEntries(chat.WindowEntries(), DeliveryEntries("room1", "<Font Color=#0F0080>x"));
    }
    SUBCASE("two lines in a row, each with its own five messages") {
        StandInProcess chat({});
        Deliver(u"first");
        Deliver(u"second");
        CheckLogEntries(chat.WindowEntries(), Concat(DeliveryEntries("room1", "first"), DeliveryEntries("room1", "second")));
    }
}

TEST_CASE("lines reach the room in the ANSI code page (Windows-1252)") {
    StandInProcess chat({});
    struct Case {
        const char* name;
        std::u16string line;
        std::string ansi;
    };
    const Case cases[] = {
        {"the loaded line", u"v\u00B4'v\u00B4' q\u00F9\u00E8nl\u00F8w \u2039\u00BB l\u00F8ad\u00E8d '`v'`v",
         "v\xB4'v\xB4' q\xF9\xE8nl\xF8w \x8B\xBB l\xF8""ad\xE8""d '`v'`v"},
        {"the version line", u"v\u00B4'v\u00B4' v\u00E8rsi\u00F8n\u00B9 \u2039\u00BB \u00FAs\u00E8r:",
         "v\xB4'v\xB4' v\xE8rsi\xF8n\xB9 \x8B\xBB \xFAs\xE8r:"},
        {"the code page's upper half", u"\u20AC\u2122\u201C\u201D\u00FF", "\x80\x99\x93\x94\xFF"},
        {"best fit where the code page has a near letter", u"\u0100\u0142\u2212", "Al-"},
        {"'?' where it has none", u"\u4E2D\uAC00\u0915", "???"},
    };
    std::vector<LogEntry> expected;
    for (const Case& c : cases) {
        Deliver(c.line);
        expected = Concat(expected, DeliveryEntries("room1", c.ansi));
    }
    CheckLogEntries(chat.WindowEntries(), expected);
}

TEST_CASE("a line of a million characters arrives whole") {
    // Twenty-one bytes a faded character; Wine refuses cross-process messages from about 1 MiB on.
    std::u16string line;
    while (line.size() + 21 <= 1000000) line += u"<Font Color=#0F0080>x";
    line.resize(1000000, u'!');
    const std::string ansi(line.begin(), line.end());
    StandInProcess chat({});
    Deliver(line);
    const auto entries = chat.WindowEntries();
    const auto expected = DeliveryEntries("room1", ansi);
    REQUIRE(entries.size() == expected.size());
    CHECK(entries[3].payload.size() == 1000000);
    CHECK((entries[3] == expected[3]));
    CHECK((entries[5] == expected[5]));
    CheckCleanExit(chat);
}

TEST_CASE("the line goes to the chat room nearest the front, and nowhere else") {
    const std::u16string line = u"<Font Color=#00FF00>hi";
    const auto received = DeliveryEntries("room1", "<Font Color=#00FF00>hi");
    SUBCASE("two rooms: the front one") {
        StandInProcess chat({L"--rooms", L"2"});
        Deliver(line);
        CheckLogEntries(chat.WindowEntries(), received);
    }
    SUBCASE("document windows in front without the signature are passed over") {
        StandInProcess chat({L"--rooms", L"2", L"--decoys", L"3", L"--lacking", L"--grandchildren"});
        Deliver(line);
        CheckLogEntries(chat.WindowEntries(), received);
    }
    SUBCASE("class names in other capitalisations match") {
        StandInProcess chat({L"--mixed-case", L"--lacking"});
        Deliver(line);
        CheckLogEntries(chat.WindowEntries(), received);
        CheckCleanExit(chat);
    }
    SUBCASE("no room, only near misses and a stray RICHCNTL: nothing is sent") {
        StandInProcess chat({L"--rooms", L"0", L"--lacking", L"--grandchildren", L"--stray"});
        Deliver(line);
        CheckLogEntries(chat.WindowEntries(), {});
    }
    SUBCASE("no chat client, a stray top-level RICHCNTL receives nothing") {
        StandInProcess chat({L"--no-frame", L"--stray"});
        Deliver(line);
        CheckLogEntries(chat.WindowEntries(), {});
        CheckCleanExit(chat);
    }
}
