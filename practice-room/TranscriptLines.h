// What the transcript holds, apart from the control that shows it: each line as shown, and the bound on the
// lines kept.
#pragma once

#include "ChatMarkup.h"

#include <cstddef>
#include <deque>
#include <string_view>
#include <vector>

namespace practice_room {

// The one person in the room: whoever types into it. The people list shows the name, every line starts with it.
inline constexpr char kGuestName[] = "Guest";

// A submitted line as the transcript shows it: the screen name "Guest: " in bold, then the markup's runs,
// cut at 2,000 characters with "…" after them when anything was cut. A control character shows as U+FFFD,
// so that a line stays one line of the transcript. Empty when the markup shows no character: such a line is
// not added.
std::vector<MarkupRun> ShownLine(std::u16string_view markup);

// The characters of the runs.
std::size_t ShownLength(const std::vector<MarkupRun>& runs);

// The lengths of the lines held, oldest first: at most 1,000. The 1,001st line sends the oldest 100 at once:
// the control lays out every line again after a change at its top, which one line at a time would cost with
// every new line. In the transcript's text a line break stands between two lines.
class KeptLines {
public:
    // Adds a line of this many characters; returns how many characters at the start of the transcript's
    // text go with the oldest lines, their line breaks included, or 0 when none go.
    std::size_t Add(std::size_t length);
    bool Empty() const { return lengths_.empty(); }

private:
    std::deque<std::size_t> lengths_;
};

}  // namespace practice_room
