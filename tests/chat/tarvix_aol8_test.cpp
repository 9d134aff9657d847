#include "MemoryDesktop.h"
#include "SequenceCheck.h"
#include "tarvix_aol8.h"

#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tarvix_aol8;

namespace {

using Classes = std::vector<std::u16string>;

// One of each class of a chat room's children, spelled as the chat client registers them.
const Classes kRoomClasses = {u"_AOL_Static", u"RICHCNTLREADONLY", u"_AOL_Combobox",
                              u"_AOL_Icon",   u"RICHCNTL",         u"_AOL_Image"};

Classes Without(const std::u16string& missing) {
    Classes classes;
    for (const std::u16string& c : kRoomClasses) {
        if (c != missing) classes.push_back(c);
    }
    return classes;
}

// A running chat client: main frame, MDI client area, document windows added front to back.
struct ChatClient {
    MemoryDesktop desktop;
    WindowHandle frame = desktop.Create(0, u"AOL Frame25");
    WindowHandle area = desktop.Create(frame, u"MDIClient");

    WindowHandle AddDocument(const Classes& children, std::u16string_view documentClass = u"AOL Child") {
        return AddWindowWithChildren(desktop, area, documentClass, children);
    }
    WindowHandle AddRoom() { return AddDocument(kRoomClasses); }
    WindowHandle InputBox(WindowHandle room) { return desktop.FindChild(room, u"RICHCNTL"); }

    static WindowHandle AddWindowWithChildren(MemoryDesktop& desktop, WindowHandle parent,
                                              std::u16string_view windowClass, const Classes& children) {
        const WindowHandle window = desktop.Create(parent, windowClass);
        for (const std::u16string& c : children) desktop.Create(window, c);
        return window;
    }
};

std::vector<ReceivedMessage> OneLine(std::u16string_view line) {
    return {SetTextMessage(u""), SetTextMessage(u""), SetTextMessage(u""), SetTextMessage(line), CharMessage(13)};
}

std::vector<ReceivedMessage> Lines(std::initializer_list<std::u16string_view> lines) {
    std::vector<ReceivedMessage> all;
    for (std::u16string_view line : lines) {
        const std::vector<ReceivedMessage> one = OneLine(line);
        all.insert(all.end(), one.begin(), one.end());
    }
    return all;
}

// Calls action on the yield with this number (1 = the first) and no other.
void OnNthYield(MemoryDesktop& desktop, std::size_t n, std::function<void()> action) {
    desktop.OnYield([&desktop, n, action] {
        if (desktop.Yields() == n) action();
    });
}

// Document windows that are not chat rooms, each alone in an otherwise complete chat client.
struct NotARoom {
    const char* name;
    Classes children;
};
const NotARoom kNotARooms[] = {
    {"no _aol_static", Without(u"_AOL_Static")},
    {"no richcntlreadonly", Without(u"RICHCNTLREADONLY")},
    {"no _aol_combobox", Without(u"_AOL_Combobox")},
    {"no _aol_icon", Without(u"_AOL_Icon")},
    {"richcntlreadonly but no richcntl", Without(u"RICHCNTL")},
    {"no _aol_image", Without(u"_AOL_Image")},
    {"names only start with the classes",
     {u"_AOL_Static2", u"RICHCNTLREADONLY", u"_AOL_Combobox", u"_AOL_Icon", u"RICHCNTL2", u"_AOL_Image"}},
    {"no children", {}},
};

}  // namespace

TEST_CASE("LocateChatRoom returns the front-most document window that has all six classes") {
    ChatClient client;

    SUBCASE("a room behind document windows that each lack something") {
        for (const NotARoom& decoy : kNotARooms) client.AddDocument(decoy.children);
        const WindowHandle room = client.AddRoom();
        CHECK(LocateChatRoom(client.desktop) == room);
        CHECK(client.desktop.Yields() == std::size(kNotARooms) + 1);
    }
    SUBCASE("of two rooms the front one, followed when the other is raised") {
        const WindowHandle front = client.AddRoom();
        const WindowHandle back = client.AddRoom();
        CHECK(LocateChatRoom(client.desktop) == front);
        client.desktop.Raise(back);
        CHECK(LocateChatRoom(client.desktop) == back);
    }
    SUBCASE("exactly one child of each class, in any order") {
        const WindowHandle room = client.AddDocument(Classes(kRoomClasses.rbegin(), kRoomClasses.rend()));
        CHECK(LocateChatRoom(client.desktop) == room);
    }
    SUBCASE("the walk starts at the area's front-most child, whatever its class") {
        const WindowHandle other = client.AddDocument(kRoomClasses, u"AOL Toolbar");
        client.AddDocument(Without(u"_AOL_Image"));
        client.AddRoom();
        CHECK(LocateChatRoom(client.desktop) == other);
    }
}

TEST_CASE("LocateChatRoom matches class names without regard to case") {
    const Classes spellings[] = {
        {u"aol frame25", u"mdiclient", u"aol child", u"_aol_static", u"richcntlreadonly", u"_aol_combobox",
         u"_aol_icon", u"richcntl", u"_aol_image"},
        {u"AOL FRAME25", u"MDICLIENT", u"AOL CHILD", u"_AOL_STATIC", u"RICHCNTLREADONLY", u"_AOL_COMBOBOX",
         u"_AOL_ICON", u"RICHCNTL", u"_AOL_IMAGE"},
        {u"Aol fRAME25", u"mdiClient", u"aOL cHILD", u"_Aol_sTatic", u"RichCntlReadOnly", u"_aOL_ComboBox",
         u"_aol_Icon", u"RichCntl", u"_AOL_image"},
    };
    for (const Classes& names : spellings) {
        CAPTURE(Printable(names[0]));
        MemoryDesktop desktop;
        const WindowHandle area = desktop.Create(desktop.Create(0, names[0]), names[1]);
        const WindowHandle room =
            ChatClient::AddWindowWithChildren(desktop, area, names[2], Classes(names.begin() + 3, names.end()));
        CHECK(LocateChatRoom(desktop) == room);
        DeliverChatLine(desktop, u"hi");
        CheckSequence(OneLine(u"hi"), desktop.Received(desktop.FindChild(room, u"richcntl")));
    }
}

TEST_CASE("Without a chat room nothing is found and nothing is sent, not even to a stray input box") {
    struct Scenario {
        const char* name;
        std::function<void(MemoryDesktop&)> build;
    };
    const auto withDocuments = [](std::u16string_view documentClass, const Classes& children) {
        return [=](MemoryDesktop& desktop) {
            const WindowHandle area = desktop.Create(desktop.Create(0, u"AOL Frame25"), u"MDIClient");
            ChatClient::AddWindowWithChildren(desktop, area, documentClass, children);
        };
    };
    const Scenario scenarios[] = {
        {"no chat client", [](MemoryDesktop&) {}},
        {"no frame, but a top-level area and document window",
         [](MemoryDesktop& desktop) {
             ChatClient::AddWindowWithChildren(desktop, desktop.Create(0, u"MDIClient"), u"AOL Child", kRoomClasses);
             ChatClient::AddWindowWithChildren(desktop, 0, u"AOL Child", kRoomClasses);
         }},
        {"a frame without an area, and a top-level document window",
         [](MemoryDesktop& desktop) {
             desktop.Create(0, u"AOL Frame25");
             ChatClient::AddWindowWithChildren(desktop, 0, u"AOL Child", kRoomClasses);
         }},
        {"an area whose only matching child is not of class aol child", withDocuments(u"AOL Children", kRoomClasses)},
        {"the six classes only among grandchildren",
         [](MemoryDesktop& desktop) {
             const WindowHandle area = desktop.Create(desktop.Create(0, u"AOL Frame25"), u"MDIClient");
             const WindowHandle document = desktop.Create(area, u"AOL Child");
             ChatClient::AddWindowWithChildren(desktop, document, u"_AOL_Panel", kRoomClasses);
         }},
    };
    std::vector<Scenario> all(std::begin(scenarios), std::end(scenarios));
    for (const NotARoom& decoy : kNotARooms) all.push_back({decoy.name, withDocuments(u"AOL Child", decoy.children)});

    for (const Scenario& scenario : all) {
        CAPTURE(scenario.name);
        MemoryDesktop desktop;
        const WindowHandle stray = desktop.Create(0, u"RICHCNTL");
        scenario.build(desktop);
        CHECK(LocateChatRoom(desktop) == 0);
        DeliverChatLine(desktop, u"line");
        CHECK(desktop.Received(stray).empty());
        CHECK(desktop.MessagesSent() == 0);
    }
}

TEST_CASE("The walk yields once per candidate, before that candidate's nine searches") {
    ChatClient client;
    const WindowHandle decoy = client.AddDocument(Without(u"_AOL_Static"));

    SUBCASE("every search is run and held before the results are tested") {
        const WindowHandle room = client.AddRoom();
        client.AddRoom();
        CHECK(LocateChatRoom(client.desktop) == room);
        CHECK(client.desktop.Yields() == 2);
        const auto signature = [](WindowHandle candidate) {
            return std::vector<ClassSearch>{
                {candidate, u"_aol_static"}, {candidate, u"richcntlreadonly"}, {candidate, u"_aol_combobox"},
                {candidate, u"_aol_icon"},   {candidate, u"_aol_static"},      {candidate, u"richcntl"},
                {candidate, u"_aol_icon"},   {candidate, u"_aol_image"},       {candidate, u"_aol_static"}};
        };
        std::vector<ClassSearch> expected = {
            {0, u"aol frame25"}, {client.frame, u"mdiclient"}, {client.area, u"aol child"}};
        for (WindowHandle candidate : {decoy, room}) {
            const std::vector<ClassSearch> nine = signature(candidate);
            expected.insert(expected.end(), nine.begin(), nine.end());
        }
        CheckSequence(expected, client.desktop.Searches());
    }
    SUBCASE("a class that the candidate gains during its yield counts") {
        OnNthYield(client.desktop, 1, [&] { client.desktop.Create(decoy, u"_AOL_Static"); });
        CHECK(LocateChatRoom(client.desktop) == decoy);
    }
    SUBCASE("a room opened during the walk is found") {
        WindowHandle room = 0;
        OnNthYield(client.desktop, 1, [&] { room = client.AddRoom(); });
        const WindowHandle found = LocateChatRoom(client.desktop);
        CHECK(room != 0);
        CHECK(found == room);
    }
    SUBCASE("a room closed during the walk is not returned") {
        const WindowHandle room = client.AddRoom();
        OnNthYield(client.desktop, 1, [&] { client.desktop.Destroy(room); });
        DeliverChatLine(client.desktop, u"line");
        CHECK(client.desktop.Yields() == 1);
        CHECK(client.desktop.MessagesSent() == 0);
    }
    SUBCASE("a candidate that vanishes at its own yield ends the walk, rooms behind it unseen") {
        const WindowHandle room = client.AddRoom();
        client.AddRoom();
        OnNthYield(client.desktop, 2, [&] { client.desktop.Destroy(room); });
        CHECK(LocateChatRoom(client.desktop) == 0);
    }
}

TEST_CASE("DeliverChatLine empties the room's input box, sets the line and presses Enter") {
    ChatClient client;
    client.AddDocument(Without(u"_AOL_Image"));
    const WindowHandle room = client.AddRoom();
    const WindowHandle box = client.InputBox(room);

    SUBCASE("five messages, and only the input box receives them") {
        DeliverChatLine(client.desktop, u"<Font Color=#FF0000>h");
        CheckSequence(OneLine(u"<Font Color=#FF0000>h"), client.desktop.Received(box));
        CHECK(client.desktop.MessagesSent() == 5);
        CHECK(client.desktop.Text(box) == u"<Font Color=#FF0000>h");
    }
    SUBCASE("text typed into the box beforehand is replaced") {
        client.desktop.Type(box, u"half a sentence");
        DeliverChatLine(client.desktop, u"line");
        CheckSequence(OneLine(u"line"), client.desktop.Received(box));
        CHECK(client.desktop.Text(box) == u"line");
    }
    SUBCASE("an empty line still ends with Enter") {
        client.desktop.Type(box, u"typed");
        DeliverChatLine(client.desktop, u"");
        CheckSequence(OneLine(u""), client.desktop.Received(box));
        CHECK(client.desktop.Text(box).empty());
    }
    SUBCASE("a line of a million characters arrives whole") {
        std::u16string line(1'000'000, u'x');
        line.back() = u'\u20AC';
        DeliverChatLine(client.desktop, line);
        CheckSequence(OneLine(line), client.desktop.Received(box));
    }
    SUBCASE("the room's first input box only") {
        const WindowHandle second = client.desktop.Create(room, u"RICHCNTL");
        DeliverChatLine(client.desktop, u"line");
        CheckSequence(OneLine(u"line"), client.desktop.Received(box));
        CHECK(client.desktop.Received(second).empty());
        CHECK(client.desktop.MessagesSent() == 5);
    }
    SUBCASE("two lines in a row, each located again") {
        DeliverChatLine(client.desktop, u"one");
        DeliverChatLine(client.desktop, u"two");
        CheckSequence(Lines({u"one", u"two"}), client.desktop.Received(box));
        CHECK(client.desktop.Yields() == 4);
    }
    SUBCASE("a delivery started during another's walk reaches the room first") {
        OnNthYield(client.desktop, 1, [&] { DeliverChatLine(client.desktop, u"inner"); });
        DeliverChatLine(client.desktop, u"outer");
        CheckSequence(Lines({u"inner", u"outer"}), client.desktop.Received(box));
        CHECK(client.desktop.Text(box) == u"outer");
        CHECK(client.desktop.Yields() == 4);
    }
}
