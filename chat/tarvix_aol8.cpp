#include "tarvix_aol8.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tarvix_aol8 {
namespace {

// The chat client's window classes; the window manager compares them without regard to case.
constexpr std::u16string_view kMainFrameClass = u"aol frame25";
constexpr std::u16string_view kClientAreaClass = u"mdiclient";
constexpr std::u16string_view kDocumentClass = u"aol child";
constexpr std::u16string_view kInputBoxClass = u"richcntl";

// Searches among a candidate's direct children, in this order; a chat room answers all nine.
// The repeated classes find the same windows again: at least one child of each class is enough.
constexpr std::array<std::u16string_view, 9> kChatRoomSignature = {
    u"_aol_static", u"richcntlreadonly", u"_aol_combobox", u"_aol_icon", u"_aol_static",
    u"richcntl",    u"_aol_icon",        u"_aol_image",    u"_aol_static",
};

constexpr char16_t kEnter = 13;

bool CarriesChatRoomSignature(WindowManager& desktop, WindowHandle candidate) {
    std::array<WindowHandle, kChatRoomSignature.size()> found{};
    for (std::size_t i = 0; i < kChatRoomSignature.size(); ++i) {
        found[i] = desktop.FindChild(candidate, kChatRoomSignature[i]);
    }
    return std::ranges::none_of(found, [](WindowHandle child) { return child == 0; });
}

}  // namespace

WindowHandle LocateChatRoom(WindowManager& desktop) {
    // A missing step ends the search: searching on from parent 0 would walk the top-level windows of
    // every other program.
    const WindowHandle frame = desktop.FindTopLevel(kMainFrameClass);
    if (frame == 0) return 0;
    const WindowHandle area = desktop.FindChild(frame, kClientAreaClass);
    if (area == 0) return 0;
    const WindowHandle anchor = desktop.FindChild(area, kDocumentClass);
    if (anchor == 0) return 0;

    // The anchor only proves a document window exists; every child of the area is a candidate.
    for (WindowHandle candidate = desktop.FirstSibling(anchor); candidate != 0;
         candidate = desktop.NextSibling(candidate)) {
        // Keeps the tool's own window responsive on a crowded desktop; may run a nested delivery.
        desktop.YieldToPendingEvents();
        if (CarriesChatRoomSignature(desktop, candidate)) return candidate;
    }
    return 0;
}

void SetInputText(WindowManager& desktop, WindowHandle window, std::u16string_view text) {
    desktop.SetText(window, u"");
    desktop.SetText(window, text);
}

void DeliverChatLine(WindowManager& desktop, std::u16string_view line) {
    // Without a room the input-box search would run among the top-level windows and type the line
    // into whatever program owns one of that class.
    const WindowHandle room = LocateChatRoom(desktop);
    if (room == 0) return;
    const WindowHandle input = desktop.FindChild(room, kInputBoxClass);
    if (input == 0) return;  // the room closed since it was found

    SetInputText(desktop, input, u"");
    SetInputText(desktop, input, line);
    desktop.SendChar(input, kEnter);
}

}  // namespace tarvix_aol8
