// The chat markup that the practice room shows: per-character font tags turned into runs of styled text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

struct MarkupRun {
    std::u16string text;
    std::uint32_t color = 0;  // 0xRRGGBB, as the markup writes it
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int size = 2;                       // the chat's font sizes 1 to 7; 2 is the room's normal text
    std::optional<std::uint32_t> back;  // 0xRRGGBB behind the characters; none: the transcript's own
    std::u16string face;                // empty: the transcript's own font

    bool operator==(const MarkupRun&) const = default;
};

// Understood, without regard to case: <font ...> with color=#RRGGBB, back=#RRGGBB, size=1..7 and face="..."
// (other attributes are ignored), </font>, which gives back what its <font> changed, and <b>, <i>, <u>, <s>
// with their end tags. A tag ends at the first ">" and holds no "<". Anything else, a stray "<" and a font
// tag with a value not understood included, is shown as text; a </font> with no <font> open is swallowed.
// A face is cut at 31 characters, what the system's font lookup reads. Adjacent characters of the same
// style share one run. Time is linear in what is read of the markup, which ends after maxCharacters shown
// characters: a huge line costs no more than what is shown of it.
std::vector<MarkupRun> ParseChatMarkup(std::u16string_view markup, std::size_t maxCharacters = SIZE_MAX);

}  // namespace practice_room
