// The practice room's portable parts: its markup, what a line shows, its RTF, the log's quoting.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "ChatMarkup.h"
#include "LineRtf.h"
#include "LogFormat.h"
#include "TranscriptLines.h"

#include <doctest/doctest.h>

#include <string>

using practice_room::MarkupRun;

TEST_CASE("chat markup becomes runs of styled text") {
    const struct {
        std::u16string markup;
        std::vector<MarkupRun> runs;
    } cases[] = {
        {u"<Font Color=#AA0055>a<FONT COLOR=#5500aa>b<Font Color=#5500AA>c",
         {{.text = u"a", .color = 0xAA0055}, {.text = u"bc", .color = 0x5500AA}}},
        {u"<font face=\"arial narrow\"><font color=#339999><b> Handle</b>x</font>y",
         {{.text = u" Handle", .color = 0x339999, .bold = true, .face = u"arial narrow"},
          {.text = u"x", .color = 0x339999, .face = u"arial narrow"}, {.text = u"y", .face = u"arial narrow"}}},
        {u"<i>a</I><U>b</u><s>c</S><FONT SIZE=7 back=#ffff00>d</font><font size='1'>e",
         {{.text = u"a", .italic = true}, {.text = u"b", .underline = true}, {.text = u"c", .strike = true},
          {.text = u"d", .size = 7, .back = 0xFFFF00}, {.text = u"e", .size = 1}}},
        // </font> gives back all that its <font> changed, two levels deep; one with no <font> open is swallowed.
        {u"<font color=#111111 face=A>a<font face=B size=5>b<font color=#222222 back=#333333>c</font>d</font>e"
         u"</font>f</font>g",
         {{.text = u"a", .color = 0x111111, .face = u"A"}, {.text = u"b", .color = 0x111111, .size = 5, .face = u"B"},
          {.text = u"c", .color = 0x222222, .size = 5, .back = 0x333333, .face = u"B"},
          {.text = u"d", .color = 0x111111, .size = 5, .face = u"B"}, {.text = u"e", .color = 0x111111, .face = u"A"},
          {.text = u"fg"}}},
        // A font tag not understood is text and changes nothing, nor what a later </font> gives back.
        {u"<font face=A>a<font face=B color=#12345>b<font size=8><font back=red></font>c",
         {{.text = u"a<font face=B color=#12345>b<font size=8><font back=red>", .face = u"A"}, {.text = u"c"}}},
        {u"<Font Color=#111111><<font size=3 color='#0000ff'>>",
         {{.text = u"<", .color = 0x111111}, {.text = u">", .color = 0x0000FF, .size = 3}}},
        {u"<em>x</em><font color=red><Font Color=#AABBCC", {{.text = u"<em>x</em><font color=red><Font Color=#AABBCC"}}},
        // A tag holds no '<' and ends at the first '>'.
        {u"<<font color=#0000FF face=a<b>c<font face=\"x>y\">",
         {{.text = u"<<font color=#0000FF face=a"}, {.text = u"c<font face=\"x>y\">", .bold = true}}},
        // Faces alike in their first 31 characters are one.
        {u"<font face=\"Liberation Sans Narrow with a long name\">a</font><FONT FACE='Liberation Sans Narrow with a "
         u"long NAME'>b",
         {{.text = u"ab", .face = u"Liberation Sans Narrow with a l"}}},
    };
    for (const auto& c : cases)
        CHECK_MESSAGE(practice_room::ParseChatMarkup(c.markup) == c.runs, std::string(c.markup.begin(), c.markup.end()));
}

TEST_CASE("a line as the transcript shows it: the screen name, the cut at 2,000 characters, nothing for no text") {
    const std::u16string x2000(2000, u'x');
    const struct {
        std::u16string markup;
        std::u16string shown;  // empty: not added
    } cases[] = {
        {u"<b>hi</b> there", u"Guest: hi there"},
        {u"", u""},
        {u"<b></b><font color=#000000></font>", u""},
        {x2000, u"Guest: " + x2000},
        {x2000 + u"y", u"Guest: " + x2000 + u"\u2026"},
        {u"<i>" + x2000 + u"</i><b>yz</b>", u"Guest: " + x2000 + u"\u2026"},
        {u"a\r\nb\tc\x01", u"Guest: a\uFFFD\uFFFDb\uFFFDc\uFFFD"},
    };
    for (const auto& c : cases) {
        const std::vector<MarkupRun> line = practice_room::ShownLine(c.markup);
        std::u16string shown;
        for (const MarkupRun& run : line) shown += run.text;
        CHECK((shown == c.shown && practice_room::ShownLength(line) == shown.size()));
        if (!line.empty()) CHECK((line.front().text == u"Guest: " && line.front().bold));
    }
}

TEST_CASE("a line's RTF: the base face as the default, sizes in half-points, colours in a table, text escaped") {
    const std::vector<MarkupRun> line = {
        {.text = u"Guest: ", .bold = true},
        {.text = u"x{", .color = 0x0000FF, .italic = true, .size = 7, .back = 0xFFFF00, .face = u"Arial Narrow"},
        {.text = u"\u20AC", .underline = true, .strike = true}};
    CHECK(practice_room::LineRtf(line, true) ==
          "{\\rtf1\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial Narrow;}}{\\colortbl;\\red0\\green0\\blue255;"
          "\\red255\\green255\\blue0;}\\pard\\li240\\fi-240\\par{\\b Guest: }{\\f1 \\fs72 \\cf1 \\highlight2 \\i x\\{}"
          "{\\ul \\strike \\u8364?}}");
}

TEST_CASE("log texts survive quoting byte for byte") {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    CHECK(practice_room::UnquoteBytes(practice_room::QuoteBytes(bytes)) == bytes);
    CHECK(practice_room::QuoteBytes("q\"\\\xF8") == "\"q\\\"\\\\\\xF8\"");
}
