#include "ChatMarkup.h"

#include <doctest/doctest.h>

#include <cstdio>
#include <string>
#include <vector>

using standin::MarkupRun;
using standin::ParseChatMarkup;

namespace doctest {
template <>
struct StringMaker<MarkupRun> {
    static String convert(const MarkupRun& run) {
        std::string text = "{\"";
        for (char16_t c : run.text) text += c < 0x80 ? static_cast<char>(c) : '?';
        char color[16];
        std::snprintf(color, sizeof color, "\", %06X", static_cast<unsigned>(run.color));
        text += color;
        text += run.bold ? ", bold" : "";
        if (!run.face.empty()) text += ", face " + std::string(run.face.begin(), run.face.end());
        return (text + "}").c_str();
    }
};
}  // namespace doctest

TEST_CASE("chat markup becomes runs of coloured text") {
    struct Case {
        const char* name;
        std::u16string markup;
        std::vector<MarkupRun> runs;
    };
    const std::u16string narrow = u"arial narrow";
    const Case cases[] = {
        {"empty", u"", {}},
        {"plain text keeps the default style", u"hi there", {{u"hi there", 0, false, u""}}},
        {"a fade gives each character its colour",
         u"<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c",
         {{u"a", 0xAA0055, false, u""}, {u"b", 0x5500AA, false, u""}, {u"c", 0x0000FF, false, u""}}},
        {"equal colours share a run", u"<Font Color=#00FF00>h<Font Color=#00FF00>i", {{u"hi", 0x00FF00, false, u""}}},
        {"tags and hex digits without regard to case", u"<FONT COLOR=#ff00aa>r<B>b</B>n",
         {{u"r", 0xFF00AA, false, u""}, {u"b", 0xFF00AA, true, u""}, {u"n", 0xFF00AA, false, u""}}},
        {"an announcement: face, colour, bold handle",
         u"<font face=\"arial narrow\"><Font Color=#001B1B>v<font color=#339999><b> Handle</b><Font Color=#00C0C0>x",
         {{u"v", 0x001B1B, false, narrow}, {u" Handle", 0x339999, true, narrow}, {u"x", 0x00C0C0, false, narrow}}},
        {"a faded '<' and '>' are text",
         u"<Font Color=#111111>a<Font Color=#222222><<Font Color=#333333>>",
         {{u"a", 0x111111, false, u""}, {u"<", 0x222222, false, u""}, {u">", 0x333333, false, u""}}},
        {"</font> goes back to the colour before",
         u"<font color=#FF0000>r<font color=#00FF00>g</font>s</font>k</font>",
         {{u"r", 0xFF0000, false, u""}, {u"g", 0x00FF00, false, u""}, {u"s", 0xFF0000, false, u""}, {u"k", 0, false, u""}}},
        {"other attributes are ignored", u"<font size=3 color='#0000ff' back=#FFFFFF>x", {{u"x", 0x0000FF, false, u""}}},
        {"tags not understood stay visible", u"<i>x</i><font color=red>y<b <font color=#12345>",
         {{u"<i>x</i><font color=red>y<b <font color=#12345>", 0, false, u""}}},
        {"an unclosed tag is text", u"<Font Color=#AABBCC", {{u"<Font Color=#AABBCC", 0, false, u""}}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(ParseChatMarkup(c.markup) == c.runs);
    }
}
