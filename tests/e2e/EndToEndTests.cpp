// The tool and the stand-in chat client as two processes: a user's clicks, keys and bar moves in
// Form1, and what the chat room's input box receives, byte for byte.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "Announcements.h"
#include "Form1Ids.h"
#include "LogExpect.h"
#include "StandInProcess.h"
#include "ToolProcess.h"
#include "User32WindowManager.h"
#include "VeskFade.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace Form1Ids;
using standin::LogEntry;
using standin::StandInProcess;

namespace {

constexpr unsigned kDeliveryTimeoutMs = 10000;
// Document windows in front of the room: the outer search goes on, yielding at each, after a nested handler.
const std::vector<std::wstring> kCrowdedDesktop = {L"--decoys", L"50"};

constexpr VeskFade::ColorValue kUntouched = -2147483633;  // 0x8000000F, the swatches' button-face reference

constexpr std::string_view kFaceTag = "<font face=\"arial narrow\">";
constexpr std::string_view kFadedTrailer =
    "<Font Color=#001B1B> <Font Color=#003737>'<Font Color=#005252>`<Font Color=#006E6E>v"
    "<Font Color=#008989>'<Font Color=#00A5A5>`<Font Color=#00C0C0>v";

ToolProcess StartTool() { return ToolProcess(L"" QUENLOW_EXE); }

std::string Faded(VeskFade::ColorValue start, VeskFade::ColorValue end, std::u16string_view text) {
    return tarvix_aol8::ToAnsi(VeskFade::FadeBetweenColors(start, end, text));
}
std::string LoadLineA() { return tarvix_aol8::ToAnsi(Announcements::LineA(Announcements::LoadedLine)); }
std::string UnloadLineA() { return tarvix_aol8::ToAnsi(Announcements::LineA(Announcements::UnloadedLine)); }
std::string LineB(std::u16string_view handle) { return tarvix_aol8::ToAnsi(Announcements::LineB(handle)); }

// The characters of a fade, one after each 20-byte tag, from the markup's start.
std::string FadedCharacters(std::string_view markup) {
    std::string characters;
    for (std::size_t pos = 20; pos < markup.size(); pos += 21) characters += markup[pos];
    return characters;
}

// The stand-in's log, read on from what has been checked already.
class RoomLog {
public:
    explicit RoomLog(const StandInProcess& chat) : chat_(chat) {}

    // Since the last check the room's input box received exactly these lines, in this order, each
    // as its five messages and then posted.
    void Expect(const std::vector<std::string>& lines) {
        std::vector<LogEntry> expected;
        for (const std::string& line : lines) {
            const auto delivery = standin::DeliveryEntries("room1", line);
            expected.insert(expected.end(), delivery.begin(), delivery.end());
        }
        WaitUntil([&] { return chat_.WindowEntries().size() >= checked_ + expected.size(); }, kDeliveryTimeoutMs);
        Check(expected);
    }
    // Nothing more arrived, in any window of the stand-in.
    void ExpectNothingMore() { Check({}); }

private:
    void Check(const std::vector<LogEntry>& expected) {
        const std::vector<LogEntry> all = chat_.WindowEntries();
        const std::vector<LogEntry> since(all.begin() + static_cast<std::ptrdiff_t>(std::min(checked_, all.size())),
                                          all.end());
        standin::CheckLogEntries(since, expected);
        checked_ = all.size();
    }

    const StandInProcess& chat_;
    std::size_t checked_ = 0;
};

void CheckNoReport(ToolProcess& tool) { CHECK(tool.Reports() == ""); }

}  // namespace

TEST_CASE("Send, load it and the closing of the window, one at a time") {
    StandInProcess chat({});
    RoomLog room(chat);
    // One tool for every step: each builds on the window that the one before left.
    ToolProcess tool = StartTool();
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

    step = "red (255, 0, 0) to blue (0, 0, 255) on \"abc\"; the right column's middle bar is Blue2";
    tool.SetText(Text1, L"abc");
    tool.MoveBar(red1, 255);
    tool.MoveBar(Blue2, 255);
    tool.PostClick(Command1);
    room.Expect({"<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c"});

    step = "all six bars count; markup characters pass unescaped; the line arrives in Windows-1252";
    const std::u16string text = u"<b>&\"caf\u00E9 \u20AC";
    tool.SetText(Text1, std::wstring(text.begin(), text.end()));
    const std::pair<int, int> positions[] = {{red1, 0x12}, {green1, 0x34}, {blue1, 0x56},
                                             {Red2, 0x9A}, {Blue2, 0xDE},  {Green2, 0xBC}};
    for (auto [bar, position] : positions) tool.MoveBar(bar, position);
    tool.PostClick(Command1);
    const std::string mixed = Faded(0x563412, 0xDEBC9A, text);
    CHECK(mixed.ends_with("<Font Color=#9ABCDE>\x80"));
    CHECK(FadedCharacters(mixed) == "<b>&\"caf\xE9 \x80");
    room.Expect({mixed});

    step = "load it: line A, then line B with the handle \"Handle\"";
    tool.PostClick(Command2);
    CHECK(LoadLineA().starts_with(std::string(kFaceTag) + "<Font Color=#000606>v<Font Color=#000C0C>\xB4"));
    CHECK(LoadLineA().ends_with("<Font Color=#00C0C0>v"));
    CHECK(FadedCharacters(LoadLineA().substr(kFaceTag.size())) ==
          "v\xB4'v\xB4' q\xF9\xE8nl\xF8w \x8B\xBB l\xF8"
          "ad\xE8"
          "d '`v'`v");
    CHECK(LineB(u"Handle").ends_with("<Font Color=#00C0C0>:<font color=#339999><b> Handle</b>" +
                                     std::string(kFadedTrailer)));
    room.Expect({LoadLineA(), LineB(u"Handle")});

    step = "an edited handle, markup characters in it unescaped";
    tool.SetText(Text2, L"<i>V&\"k");
    tool.PostClick(Command2);
    room.Expect({LoadLineA(), LineB(u"<i>V&\"k")});

    step = "an empty handle: the handle prefix directly followed by the suffix";
    tool.SetText(Text2, L"");
    tool.PostClick(Command2);
    CHECK(LineB(u"").ends_with("<b> </b>" + std::string(kFadedTrailer)));
    room.Expect({LoadLineA(), LineB(u"")});
    CheckNoReport(tool);

    step = "closing the window: the two unload lines, then the tool ends by itself";
    tool.SetText(Text2, L"Vesk");
    tool.PostClose();
    CHECK(FadedCharacters(UnloadLineA().substr(kFaceTag.size())) ==
          "v\xB4'v\xB4' q\xF9\xE8nl\xF8w \x8B\xBB \xFAnl\xF8"
          "ad\xE8"
          "d '`v'`v");
    room.Expect({UnloadLineA(), LineB(u"Vesk")});
    CHECK(tool.WaitForExit() == 0);
    CheckNoReport(tool);
    room.ExpectNothingMore();
}

TEST_CASE("a click, a key or a bar move during a delivery's room search runs nested, to its end") {
    StandInProcess chat(kCrowdedDesktop);
    RoomLog room(chat);
    ToolProcess tool = StartTool();
    tool.SetText(Text1, L"abc");
    const std::string untouched = "<Font Color=#0F0080>a<Font Color=#0F0080>b<Font Color=#0F0080>c";
    std::string step;
    INFO(step);

    step = "a handle typed while line A searches for the room reaches line B";
    tool.PostTogether([&] {
        tool.PostClick(Command2);
        tool.PostTyping(Text2, L"Zed");
    });
    room.Expect({LoadLineA(), LineB(u"Zed")});

    step = "load it clicked during a Send's search: both load lines arrive first, then the Send line";
    tool.PostTogether([&] {
        tool.PostClick(Command1);
        tool.PostClick(Command2);
    });
    room.Expect({LoadLineA(), LineB(u"Zed"), untouched});

    step = "a bar moved during a Send's search leaves the line being sent alone, and counts for the next one";
    tool.PostTogether([&] {
        tool.PostClick(Command1);
        tool.PostMoveBar(red1, 255);
    });
    room.Expect({untouched});
    tool.PostClick(Command1);
    room.Expect({Faded(255, kUntouched, u"abc")});
    CheckNoReport(tool);
}

TEST_CASE("the window closed during a delivery's room search") {
    StandInProcess chat(kCrowdedDesktop);
    RoomLog room(chat);
    const std::string unload[] = {UnloadLineA(), LineB(u"Handle")};
    struct Case {
        std::string name;
        int button;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Send: its line was composed before the search, so it still goes out after the unload lines", Command1,
         {unload[0], unload[1], Faded(kUntouched, kUntouched, u"Text to fade")}},
        {"load it: line A goes out, line B is not sent, as Text2 is gone", Command2, {unload[0], unload[1], LoadLineA()}},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        ToolProcess tool = StartTool();
        tool.PostTogether([&] {
            tool.PostClick(c.button);
            tool.PostClose();
        });
        room.Expect(c.lines);
        CHECK(tool.WaitForExit() == 0);
        CheckNoReport(tool);
        room.ExpectNothingMore();
    }
}

TEST_CASE("with no chat room open, Send sends nothing anywhere and the tool reports nothing") {
    StandInProcess chat({L"--no-frame", L"--stray"});
    RoomLog room(chat);
    ToolProcess tool = StartTool();
    tool.PostClick(Command1);
    // Posted after the click: once the bar has moved, the click's handler has returned or shows a report.
    tool.PostMoveBar(red1, 7);
    REQUIRE(WaitUntil([&] { return tool.BarPosition(red1) == 7; }, kDeliveryTimeoutMs));
    CheckNoReport(tool);
    tool.PostClose();
    CHECK(tool.WaitForExit() == 0);
    CheckNoReport(tool);
    room.ExpectNothingMore();
}
