// The practice room's transcript: whatever a line holds.
#include "FontCache.h"
#include "LogExpect.h"
#include "PracticeRoomProcess.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <string>

TEST_CASE("the room paints, logs and answers through lines of thousands of new faces and of '<' alone") {
    std::vector<std::string> lines(50);
    for (int face = 0; face < 50 * 2000; ++face) lines[face / 2000] += "<font face=\"f" + std::to_string(face) + "\">x";
    lines.push_back(std::string(200000, '<'));

    PracticeRoomProcess chat({});
    tarvix_aol8::User32WindowManager desktop;
    const auto room = reinterpret_cast<HWND>(tarvix_aol8::LocateChatRoom(desktop));
    const HWND transcript = FindWindowExW(room, nullptr, L"RICHCNTLREADONLY", nullptr);
    REQUIRE(transcript);
    std::vector<practice_room::LogEntry> expected;
    for (const std::string& line : lines) {
        tarvix_aol8::DeliverChatLine(desktop, std::u16string(line.begin(), line.end()));
        // Sends WM_PAINT to the room's thread unless the room has begun a paint of its own since: either
        // way the line is being painted, and the next message sent to the room waits for that paint.
        RedrawWindow(transcript, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        CHECK_FALSE(GetUpdateRect(transcript, nullptr, FALSE));
        const auto entries = practice_room::DeliveryEntries("room1", line);
        expected.insert(expected.end(), entries.begin(), entries.end());
    }
    CHECK(SendMessageTimeoutW(GetAncestor(room, GA_ROOT), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr));
    practice_room::CheckLogEntries(chat.WindowEntries(), expected);
    CHECK(chat.Stop() == 0);
}

TEST_CASE("the transcript's fonts: one for the faces the system draws alike, the least recently used going") {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    practice_room::FontCache flooded(256, -13);
    for (int face = 0; face < 20000; ++face) {
        const std::string name = "f" + std::to_string(face);
        flooded.Select(dc, std::u16string(name.begin(), name.end()), face % 2);
    }
    MESSAGE("fonts held after 20,000 faces: ", flooded.Size());
    CHECK(flooded.Size() == 2);  // the system lacks them all: its stand-in, regular and bold

    practice_room::FontCache fonts(2, -13);
    fonts.Select(dc, u"Liberation Serif", false);
    const HGDIOBJ serif = GetCurrentObject(dc, OBJ_FONT);
    fonts.Select(dc, u"Liberation Mono", false);
    const HGDIOBJ mono = GetCurrentObject(dc, OBJ_FONT);
    fonts.Select(dc, u"Liberation Serif", false);
    CHECK(GetCurrentObject(dc, OBJ_FONT) == serif);
    fonts.Select(dc, u"Liberation Sans", true);
    CHECK(fonts.Size() == 2);
    CHECK(GetObjectType(mono) == 0);  // deleted
    CHECK(GetObjectType(serif) == OBJ_FONT);
    SelectObject(dc, own);
    DeleteDC(dc);
}
