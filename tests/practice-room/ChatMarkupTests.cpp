#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "ChatMarkup.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <cstdio>
#include <string>

using practice_room::MarkupRun;

namespace doctest {
template <>
struct StringMaker<MarkupRun> {
    static String convert(const MarkupRun& run) {
        char style[40];
        std::snprintf(style, sizeof style, "\", %06X%s, %zu face chars}", unsigned(run.color), run.bold ? " bold" : "",
                      run.face.size());
        return (std::string("{\"") + std::string(run.text.begin(), run.text.end()) + style).c_str();
    }
};
}  // namespace doctest

TEST_CASE("chat markup becomes runs of coloured text") {
    struct Case {
        std::u16string markup;
        std::vector<MarkupRun> runs;
        std::size_t maxCharacters = SIZE_MAX;
    };
    const Case cases[] = {
        {u"<Font Color=#AA0055>a<FONT COLOR=#5500aa>b<Font Color=#5500AA>c",
         {{u"a", 0xAA0055, false, u""}, {u"bc", 0x5500AA, false, u""}}},
        {u"<font face=\"arial narrow\"><font color=#339999><b> Handle</b>x</font>y",
         {{u" Handle", 0x339999, true, u"arial narrow"}, {u"x", 0x339999, false, u"arial narrow"},
          {u"y", 0, false, u"arial narrow"}}},
        {u"<Font Color=#111111><<font size=3 color='#0000ff'>>",
         {{u"<", 0x111111, false, u""}, {u">", 0x0000FF, false, u""}}},
        {u"<i>x</i><font color=red><Font Color=#AABBCC",
         {{u"<i>x</i><font color=red><Font Color=#AABBCC", 0, false, u""}}},
        // A tag holds no '<' and ends at the first '>'.
        {u"<<font color=#0000FF face=a<b>c<font face=\"x>y\">",
         {{u"<<font color=#0000FF face=a", 0, false, u""}, {u"c<font face=\"x>y\">", 0, true, u""}}},
        // Faces alike in their first 31 characters are one.
        {u"<font face=\"Liberation Sans Narrow with a long name\">a</font><FONT FACE='Liberation Sans Narrow with a "
         u"long NAME'>b",
         {{u"ab", 0, false, u"Liberation Sans Narrow with a l"}}},
        {u"<b>ab</b>cd", {{u"ab", 0, true, u""}, {u"c", 0, false, u""}}, 3},
    };
    for (const Case& c : cases) CHECK(practice_room::ParseChatMarkup(c.markup, c.maxCharacters) == c.runs);
}
