// The tool and the practice room as two processes: a user's clicks, keys and bar moves in
// Form1, and what the chat room's input box receives, byte for byte.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "FadeReference.h"
#include "Form1Ids.h"
#include "LogExpect.h"
#include "PracticeRoomProcess.h"
#include "PrefixValue.h"
#include "ToolProcess.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace Form1Ids;
using practice_room::LogEntry;

namespace {

constexpr unsigned kDeliveryTimeoutMs = 10000;
// Document windows in front of the room: the outer search goes on, yielding at each, after a nested handler.
const std::vector<std::wstring> kCrowdedDesktop = {L"--decoys", L"50"};

constexpr VeskFade::ColorValue kUntouched = -2147483633;  // 0x8000000F, the swatches' button-face reference

// The announcements' texts as the room receives them, in Windows-1252.
constexpr std::string_view kFaceTag = "<font face=\"arial narrow\">";
constexpr std::string_view kLoadedLine = "v\xB4'v\xB4' q\xF9\xE8nl\xF8w \x8B\xBB l\xF8" "ad\xE8" "d '`v'`v";
constexpr std::string_view kUnloadedLine = "v\xB4'v\xB4' q\xF9\xE8nl\xF8w \x8B\xBB \xFAnl\xF8" "ad\xE8" "d '`v'`v";
constexpr std::string_view kVersionLine = "v\xB4'v\xB4' v\xE8rsi\xF8n\xB9 \x8B\xBB \xFAs\xE8r:";
constexpr std::string_view kFadedTrailer =
    "<Font Color=#001B1B> <Font Color=#003737>'<Font Color=#005252>`<Font Color=#006E6E>v"
    "<Font Color=#008989>'<Font Color=#00A5A5>`<Font Color=#00C0C0>v";

// The reference fade of a Windows-1252 text, one character a byte.
std::string Faded(VeskFade::ColorValue start, VeskFade::ColorValue end, std::string_view text) {
    std::u16string characters;
    for (unsigned char c : text) characters += static_cast<char16_t>(c);
    const std::u16string markup = FadeReference::fadeColors(start, end, characters);
    return std::string(markup.begin(), markup.end());
}
std::string LineA(std::string_view firstLine) { return std::string(kFaceTag) + Faded(0, 0xC0C000, firstLine); }
std::string LineB(std::string_view handle) {
    return std::string(kFaceTag) + Faded(0, 0xC0C000, kVersionLine) + "<font color=#339999><b> " +
           std::string(handle) + "</b>" + std::string(kFadedTrailer);
}

// The practice room's log, read on from what has been checked already.
class RoomLog {
public:
    explicit RoomLog(const PracticeRoomProcess& chat) : chat_(chat) {}

    // Since the last check the room's input box received exactly these lines, each as its five
    // messages and then posted: in this order, or in any order (nested deliveries end innermost first).
    void Expect(std::vector<std::string> lines, bool anyOrder = false, unsigned timeoutMs = kDeliveryTimeoutMs) {
        const std::size_t entriesPerLine = practice_room::DeliveryEntries("room1", "").size();
        WaitUntil([&] { return chat_.WindowEntries().size() >= checked_ + entriesPerLine * lines.size(); }, timeoutMs);
        if (anyOrder) {
            std::vector<std::string> arrived;
            for (const LogEntry& entry : Since())
                if (entry.kind == "line") arrived.push_back(entry.payload);
            REQUIRE_MESSAGE(std::ranges::is_permutation(arrived, lines), arrived.size() << " lines for " << lines.size());
            lines = arrived;
        }
        std::vector<LogEntry> expected;
        for (const std::string& line : lines) {
            const auto delivery = practice_room::DeliveryEntries("room1", line);
            expected.insert(expected.end(), delivery.begin(), delivery.end());
        }
        Check(expected);
    }
    // Nothing more arrived, in any window of the practice room.
    void ExpectNothingMore() { Check({}); }

private:
    std::vector<LogEntry> Since() const {
        const std::vector<LogEntry> all = chat_.WindowEntries();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(checked_, all.size())), all.end()};
    }
    void Check(const std::vector<LogEntry>& expected) {
        const std::vector<LogEntry> since = Since();
        practice_room::CheckLogEntries(since, expected);
        checked_ += since.size();
    }

    const PracticeRoomProcess& chat_;
    std::size_t checked_ = 0;
};

void CheckNoReport(ToolProcess& tool) { CHECK(tool.Reports() == ""); }

}  // namespace

TEST_CASE("Send, load it and the end of the session, one at a time") {
    PracticeRoomProcess chat({});
    RoomLog room(chat);
    // One tool for every step: each builds on the window that the one before left.
    ToolProcess tool;
    std::string step;
    INFO(step);

    step = "Send with both swatches untouched: every character tagged 0F0080";
    tool.PostClick(Command1);
    std::string untouched;
    for (char c : std::string_view("Text to fade")) untouched += std::string("<Font Color=#0F0080>") + c;
    room.Expect({untouched});

    step = "an empty Text1 still delivers its line: the box is emptied and Enter is sent";
    tool.SetText(Text1, L"");
    tool.PostClick(Command1);
    room.Expect({""});

    step = "each of the six bars counts (the right column's middle bar is Blue2); markup characters pass "
           "unescaped; the line arrives in Windows-1252";
    tool.SetText(Text1, L"<b>&\"caf\u00E9 \u20AC");
    const std::pair<int, int> positions[] = {{red1, 0x12}, {green1, 0x34}, {blue1, 0x56},
                                             {Red2, 0x9A}, {Blue2, 0xDE},  {Green2, 0xBC}};
    for (auto [bar, position] : positions) tool.MoveBar(bar, position);
    tool.PostClick(Command1);
    room.Expect({Faded(0x563412, 0xDEBC9A, "<b>&\"caf\xE9 \x80")});

    step = "load it: line A, then line B with the handle \"Handle\"";
    tool.PostClick(Command2);
    room.Expect({LineA(kLoadedLine), LineB("Handle")});

    step = "an edited handle, markup characters in it unescaped; an empty one";
    for (std::string_view handle : {"<i>V&\"k", ""}) {
        tool.SetText(Text2, std::wstring(handle.begin(), handle.end()));
        tool.PostClick(Command2);
        room.Expect({LineA(kLoadedLine), LineB(handle)});
    }

    step = "the session's end: nothing while it may still be cancelled; then the unload lines, and the tool ends";
    tool.SetText(Text2, L"Vesk");
    CHECK(tool.EndSession(false));
    room.ExpectNothingMore();
    CHECK(tool.EndSession(true));
    room.Expect({LineA(kUnloadedLine), LineB("Vesk")});
    CHECK(tool.WaitForExit() == 0);
    CheckNoReport(tool);
    room.ExpectNothingMore();
}

TEST_CASE("thousands of Send clicks queued at once: each line arrives once, and later searches still yield") {
    PracticeRoomProcess chat({});
    RoomLog room(chat);
    ToolProcess tool;
    tool.SetText(Text1, L"x");
    // A one-character fade is the end colour: Red2 and Green2 number the clicks. Each click's bars move inside
    // the search of the click before, so a line carries its own number only if its colours were read first.
    constexpr int kClicks = 3000;
    std::vector<std::string> lines;
    tool.PostTogether([&] {
        for (int click = 1; click <= kClicks; ++click) {
            tool.PostMoveBar(Red2, click % 256);
            tool.PostMoveBar(Green2, click / 256);
            tool.PostClick(Command1);
            char line[32];
            std::snprintf(line, sizeof line, "<Font Color=#%02X%02X00>x", click % 256, click / 256);
            lines.push_back(line);
        }
    });
    room.Expect(lines, true, 120000);
    // Every yield has ended: a handle typed while line A searches for the room still reaches line B.
    tool.PostTogether([&] {
        tool.PostClick(Command2);
        tool.PostTyping(Text2, L"Zed");
    });
    room.Expect({LineA(kLoadedLine), LineB("Zed")});
    tool.PostClose();
    room.Expect({LineA(kUnloadedLine), LineB("Zed")});
    CHECK(tool.WaitForExit() == 0);
    CheckNoReport(tool);
}

TEST_CASE("events posted together with the closing of the window, during its delivery's room search") {
    PracticeRoomProcess chat(kCrowdedDesktop);
    RoomLog room(chat);
    const std::string unload[] = {LineA(kUnloadedLine), LineB("Handle")};
    const auto send = [](const ToolProcess& tool) { tool.PostClick(Command1); };
    const auto loadIt = [](const ToolProcess& tool) { tool.PostClick(Command2); };
    const auto close = [](const ToolProcess& tool) { tool.PostClose(); };
    const auto endSession = [](const ToolProcess& tool) { tool.PostEndSession(true); };
    struct Case {
        std::string name;
        std::function<void(const ToolProcess&)> first, then;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Send, then close: the Send line was composed before the search, so it still goes out after the unload lines",
         send, close, {unload[0], unload[1], Faded(kUntouched, kUntouched, "Text to fade")}},
        {"load it, then close: line A goes out, line B is not sent, as Text2 is gone", loadIt, close,
         {unload[0], unload[1], LineA(kLoadedLine)}},
        {"the close box clicked twice: the unload lines once", close, close, {unload[0], unload[1]}},
        {"close, then the session ends: the unload lines once", close, endSession, {unload[0], unload[1]}},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        ToolProcess tool;
        tool.PostTogether([&] {
            c.first(tool);
            c.then(tool);
        });
        room.Expect(c.lines);
        CHECK(tool.WaitForExit() == 0);
        CheckNoReport(tool);
        room.ExpectNothingMore();
    }
}

// Wine drops a message of more than about 1 MiB sent from another process, and the receiver's GetMessage fails
// while the sender waits: the text is sent from a thread of its own, which the tool's end releases.
DWORD WINAPI SendHugeText(void* box) {
    const std::wstring text(1500000, L'x');
    SendMessageW(static_cast<HWND>(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

TEST_CASE("a failed message queue is reported in a box, and the tool exits with 2" * doctest::skip(!OnWine())) {
    ToolProcess tool;
    const HANDLE sender = CreateThread(nullptr, 0, SendHugeText, tool.Item(Text1), 0, nullptr);
    REQUIRE(sender);
    CHECK(tool.Process().AnswerMessageBox(kDeliveryTimeoutMs) ==
          L"Quenlow has stopped: its window messages could not be read");
    CHECK(tool.WaitForExit() == 2);
    CHECK(WaitForSingleObject(sender, TimeScaled(kDeliveryTimeoutMs)) == WAIT_OBJECT_0);
    CloseHandle(sender);
}
