// Feeds arbitrary UTF-16 text to the practice room's markup. What it shows must be the text with some whole
// tags taken out and nothing else, in runs that are well formed; and the RTF that carries a line into the
// transcript must read back as exactly the line's characters.
#include "ChatMarkup.h"
#include "LineRtf.h"
#include "TranscriptLines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using practice_room::MarkupRun;

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "markup_fuzz: %s\n", what);
    std::abort();
}

// What may be taken out: a tag named b, i, u, s or font, or its end tag, without regard to case.
bool Removable(std::u16string_view tag) {
    std::u16string name(tag.substr(tag.starts_with(u'/') ? 1 : 0, tag.find_first_of(u" \t\r\n")));
    for (char16_t& c : name) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return name == u"b" || name == u"i" || name == u"u" || name == u"s" || name == u"font";
}

// The text that an RTF reader takes from rtf: the font and colour tables skipped, \\par as a line break, \\uN
// as the character N (the "?" after it skipped), "\\\\", "\\{" and "\\}" as themselves, other control words dropped.
std::u16string RtfText(std::string_view rtf) {
    std::u16string text;
    std::size_t depth = 0, skippedFrom = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const bool escaped = rtf[i] == '\\' && std::strchr("\\{}", rtf[i + 1]);
        if (rtf[i] == '{' && ++depth && !skippedFrom &&
            (rtf.substr(i + 1).starts_with("\\fonttbl") || rtf.substr(i + 1).starts_with("\\colortbl")))
            skippedFrom = depth;
        if (rtf[i] == '}' && skippedFrom == depth--) skippedFrom = 0;
        if (rtf[i] == '{' || rtf[i] == '}') continue;
        // Characters, escaped ones too; in a table, where a name may hold an escaped brace, skipped.
        if (skippedFrom || rtf[i] != '\\' || escaped) {
            if (!skippedFrom) text += static_cast<char16_t>(static_cast<unsigned char>(rtf[i + escaped]));
            i += escaped;
            continue;
        }
        std::size_t end = i + 1;
        while (std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
        const std::string_view word = rtf.substr(i + 1, end - i - 1);
        char* after = const_cast<char*>(rtf.data() + end);
        // strtol would skip the delimiter and read the text after it.
        const bool numbered = rtf[end] == '-' || std::isdigit(static_cast<unsigned char>(rtf[end]));
        const long number = numbered ? std::strtol(after, &after, 10) : 0;
        end = static_cast<std::size_t>(after - rtf.data());
        if (rtf[end] == ' ') ++end;  // the delimiter
        if (word == "par") text += u'\n';
        if (word == "u") text += static_cast<char16_t>(number), ++end;  // and the "?" for readers without Unicode
        i = end - 1;
    }
    return text;
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
        const auto style = [](MarkupRun r) { return r.text.clear(), r; };
        const bool sameStyle = i > 0 && style(run) == style(runs[i - 1]);
        if (run.text.empty() || sameStyle || run.face.size() > 31 || run.color > 0xFFFFFF || run.size < 1 ||
            run.size > 7 || run.back.value_or(0) > 0xFFFFFF)
            fail("a run empty, of the style before it, with a face over 31 characters, a colour over 0xFFFFFF or a size "
                 "outside 1 to 7");
        shown += run.text;
    }
    if (!ShownWithTagsOut(text, shown)) fail("the text shown is not the line without some of its tags");

    const std::vector<MarkupRun> line = practice_room::ShownLine(text);
    std::u16string lineText = u"\n";
    for (const MarkupRun& run : line) lineText += run.text;
    if (RtfText(practice_room::LineRtf(line, true)) != lineText) fail("the line's RTF reads back as other text");
    return 0;
}
