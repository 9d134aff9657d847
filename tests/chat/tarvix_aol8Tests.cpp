#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "Delivery.h"
#include "MemoryDesktop.h"
#include "SequenceCheck.h"
#include "tarvix_aol8.h"

#include <doctest/doctest.h>

using namespace tarvix_aol8;

namespace {

using Classes = std::vector<std::u16string>;
using Log = std::vector<std::string>;

// One child of each class of a chat room, spelled as the chat client registers them.
const Classes kRoom = {u"_AOL_Static", u"RICHCNTLREADONLY", u"_AOL_Combobox", u"_AOL_Icon", u"RICHCNTL", u"_AOL_Image"};

WindowHandle AddWindow(MemoryDesktop& desktop, WindowHandle parent, std::u16string_view windowClass,
                       const Classes& children = kRoom) {
    const WindowHandle window = desktop.Create(parent, windowClass);
    for (const std::u16string& c : children) desktop.Create(window, c);
    return window;
}

// The chat client's main frame and its MDI client area; returns the area.
WindowHandle AddClient(MemoryDesktop& desktop) {
    return desktop.Create(desktop.Create(0, u"AOL Frame25"), u"MDIClient");
}

// A chat room's children with one class missing or misspelt.
Classes With(std::u16string_view from, std::u16string_view to) {
    Classes classes = kRoom;
    std::ranges::replace(classes, std::u16string(from), std::u16string(to));
    return classes;
}

// The five messages that type one line (printable form) into box and press Enter.
Log OneLine(WindowHandle box, const std::string& line) {
    Log log;
    for (const auto& [kind, payload] : DeliveryMessages(line))
        log.push_back(kind + " " + std::to_string(box) + " " + (kind == "settext" ? '"' + payload + '"' : payload));
    return log;
}

// Builds a desktop and returns the room that should be found there, or 0.
struct Scenario {
    std::string name;
    std::function<WindowHandle(MemoryDesktop&)> build;
};

const Scenario kScenarios[] = {
    {"no chat client", [](auto&) { return 0; }},
    {"no frame: a top-level area and room", [](auto& d) {
         AddWindow(d, d.Create(0, u"MDIClient"), u"AOL Child");
         AddWindow(d, 0, u"AOL Child");
         return 0;
     }},
    {"no area: a frame and a top-level room", [](auto& d) {
         d.Create(0, u"AOL Frame25");
         AddWindow(d, 0, u"AOL Child");
         return 0;
     }},
    {"no anchor: the area's only child has the classes but another class", [](auto& d) {
         AddWindow(d, AddClient(d), u"AOL Children");
         return 0;
     }},
    {"the classes only among grandchildren", [](auto& d) {
         AddWindow(d, d.Create(AddClient(d), u"AOL Child"), u"_AOL_Panel");
         return 0;
     }},
    {"decoys in front of the room are passed over", [](auto& d) {
         const WindowHandle area = AddClient(d);
         for (const std::u16string& missing : kRoom) AddWindow(d, area, u"AOL Child", With(missing, u"_AOL_Other"));
         AddWindow(d, area, u"AOL Child", With(u"RICHCNTL", u"RICHCNTL2"));
         AddWindow(d, area, u"AOL Child", {});
         return AddWindow(d, area, u"AOL Child");
     }},
    {"of two rooms the front one", [](auto& d) {
         const WindowHandle area = AddClient(d);
         const WindowHandle front = AddWindow(d, area, u"AOL Child");
         AddWindow(d, area, u"AOL Child");
         return front;
     }},
    {"the room raised to the front", [](auto& d) {
         const WindowHandle area = AddClient(d);
         AddWindow(d, area, u"AOL Child");
         const WindowHandle back = AddWindow(d, area, u"AOL Child");
         d.Raise(back);
         return back;
     }},
    {"the walk starts at the area's front-most child, whatever its class", [](auto& d) {
         const WindowHandle area = AddClient(d);
         const WindowHandle toolbar = AddWindow(d, area, u"AOL Toolbar");
         AddWindow(d, area, u"AOL Child", With(u"_AOL_Image", u"_AOL_Other"));
         AddWindow(d, area, u"AOL Child");
         return toolbar;
     }},
    {"class names in any case", [](auto& d) {
         return AddWindow(d, d.Create(d.Create(0, u"aol fRAME25"), u"mdiClient"), u"AOL CHILD",
                          {u"_Aol_sTatic", u"RichCntlReadOnly", u"_aOL_ComboBox", u"_aol_icon", u"richcntl",
                           u"_AOL_IMAGE"});
     }},
};

}  // namespace

TEST_CASE("the line goes to the front-most room of the chat client as five messages, or nowhere") {
    for (const Scenario& scenario : kScenarios) {
        CAPTURE(scenario.name);
        MemoryDesktop desktop;
        desktop.Create(0, u"RICHCNTL");  // another program's window, in front of all
        const WindowHandle room = scenario.build(desktop);
        CHECK(LocateChatRoom(desktop) == room);
        DeliverChatLine(desktop, u"<b>\u00E8");
        CheckSequence(room ? OneLine(desktop.FindChild(room, u"richcntl"), "<b>\\u00E8") : Log{}, desktop.Sent());
    }
}

TEST_CASE("the walk yields at each candidate, before its searches") {
    MemoryDesktop desktop;
    const WindowHandle area = AddClient(desktop);
    const WindowHandle decoy = AddWindow(desktop, area, u"AOL Child", With(u"_AOL_Static", u"_AOL_Other"));
    const WindowHandle room = AddWindow(desktop, area, u"AOL Child");
    AddWindow(desktop, area, u"AOL Child");
    const auto onYield = [&](int n, std::function<void()> action) {
        desktop.OnYield([=](int yields) { if (yields == n) action(); });
    };

    SUBCASE("a class gained during the candidate's yield counts") {
        onYield(1, [&] { desktop.Create(decoy, u"_AOL_Static"); });
        CHECK(LocateChatRoom(desktop) == decoy);
    }
    SUBCASE("a room closed during its yield is not used, nor are the rooms behind it") {
        onYield(2, [&] { desktop.Destroy(room); });
        DeliverChatLine(desktop, u"line");
        CheckSequence({}, desktop.Sent());
    }
    SUBCASE("a delivery started in another's yield reaches the room first, and the outer one completes") {
        onYield(1, [&] { DeliverChatLine(desktop, u"inner"); });
        DeliverChatLine(desktop, u"outer");
        const WindowHandle box = desktop.FindChild(room, u"richcntl");
        Log expected = OneLine(box, "inner");
        std::ranges::copy(OneLine(box, "outer"), std::back_inserter(expected));
        CheckSequence(expected, desktop.Sent());
    }
}
