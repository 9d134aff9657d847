// Feeds arbitrary UTF-16 text to the practice room's markup. What it shows must be the text with some whole
// tags taken out and nothing else, in runs that are well formed.
#include "ChatMarkup.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using practice_room::MarkupRun;

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "markup_fuzz: %s\n", what);
    std::abort();
}

// What may be taken out: a tag named b, /b, font or /font, without regard to case.
bool Removable(std::u16string_view tag) {
    std::u16string name(tag.substr(0, tag.find_first_of(u" \t\r\n")));
    for (char16_t& c : name) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return name == u"b" || name == u"/b" || name == u"font" || name == u"/font";
}

// Whether taking some removable tags out of text leaves shown: the offsets into shown reachable at each
// offset into text. A tag runs from a '<' to the first '>' after it, with no other '<' between.
bool ShownWithTagsOut(std::u16string_view text, std::u16string_view shown) {
    std::vector<std::set<std::size_t>> reach(text.size() + 1);
    reach[0].insert(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t close = text[i] == u'<' ? text.find_first_of(u"<>", i + 1) : text.npos;
        const bool removable =
            close != text.npos && text[close] == u'>' && Removable(text.substr(i + 1, close - i - 1));
        for (const std::size_t j : reach[i]) {
            if (j < shown.size() && shown[j] == text[i]) reach[i + 1].insert(j + 1);
            if (removable) reach[close + 1].insert(j);
        }
    }
    return reach[text.size()].contains(shown.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, 2 * text.size());
    const std::vector<MarkupRun> runs = practice_room::ParseChatMarkup(text);
    std::u16string shown;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const MarkupRun& run = runs[i];
        const bool sameStyle = i > 0 && std::tie(run.color, run.bold, run.face) ==
                                            std::tie(runs[i - 1].color, runs[i - 1].bold, runs[i - 1].face);
        if (run.text.empty() || sameStyle || run.face.size() > 31 || run.color > 0xFFFFFF)
            fail("a run empty, of the style before it, with a face over 31 characters or a colour over 0xFFFFFF");
        shown += run.text;
    }
    if (!ShownWithTagsOut(text, shown)) fail("the text shown is not the line without some of its tags");
    return 0;
}
