// The chat markup that the practice room shows: per-character font tags turned into runs of styled text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

struct MarkupRun {
    std::u16string text;
    std::uint32_t color = 0;  // 0xRRGGBB, as the markup writes it
    bool bold = false;
    std::u16string face;      // empty: the transcript's own font

    bool operator==(const MarkupRun&) const = default;
};

// Understood, without regard to case: <font ...> with color=#RRGGBB and face="..." (other attributes
// are ignored), </font>, <b>, </b>. A tag ends at the first ">" and holds no "<". Anything else, a stray
// "<" included, is shown as text. A face is cut at 31 characters, what the system's font lookup reads.
// Adjacent characters of the same style share one run. Time is linear in what is read of the markup,
// which ends after maxCharacters shown characters: a huge line costs no more than what is shown of it.
std::vector<MarkupRun> ParseChatMarkup(std::u16string_view markup, std::size_t maxCharacters = SIZE_MAX);

}  // namespace practice_room
