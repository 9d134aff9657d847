#include "TranscriptLines.h"

#include <iterator>

namespace practice_room {

namespace {

constexpr std::size_t kShownCharacters = 2000;
constexpr std::size_t kKeptLines = 1000;
constexpr std::size_t kDroppedAtOnce = 100;
constexpr char16_t kCut[] = u"\u2026";
constexpr char16_t kNotShown = u'\uFFFD';

}  // namespace

std::size_t ShownLength(const std::vector<MarkupRun>& runs) {
    std::size_t characters = 0;
    for (const MarkupRun& run : runs) characters += run.text.size();
    return characters;
}

std::vector<MarkupRun> ShownLine(std::u16string_view markup) {
    // One character more than is shown tells whether anything is cut.
    std::vector<MarkupRun> text = ParseChatMarkup(markup, kShownCharacters + 1);
    if (text.empty()) return {};
    const bool cut = ShownLength(text) > kShownCharacters;
    if (cut) {
        text.back().text.pop_back();
        if (text.back().text.empty()) text.pop_back();
    }
    for (MarkupRun& run : text)
        for (char16_t& c : run.text)
            if (c < u' ') c = kNotShown;
    std::vector<MarkupRun> line(1);
    line[0].text = std::u16string(kGuestName, kGuestName + sizeof kGuestName - 1) + u": ";
    line[0].bold = true;
    line.insert(line.end(), std::make_move_iterator(text.begin()), std::make_move_iterator(text.end()));
    if (cut) line.emplace_back().text = kCut;
    return line;
}

std::size_t KeptLines::Add(std::size_t length) {
    lengths_.push_back(length);
    if (lengths_.size() <= kKeptLines) return 0;
    std::size_t dropped = 0;
    for (std::size_t i = 0; i < kDroppedAtOnce; ++i) {
        dropped += lengths_.front() + 1;
        lengths_.pop_front();
    }
    return dropped;
}

}  // namespace practice_room
