// The ANSI code-page conversion under Wine, whose ANSI code page is Windows-1252 here (LANG=en_US.UTF-8).
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "AnsiText.h"

#include <windows.h>

TEST_CASE("Windows-1252 both ways; a character that it lacks becomes its best fit or '?'") {
    REQUIRE(GetACP() == 1252);
    const struct { std::u16string text; std::string ansi; bool both; } rows[] = {
        {u"", "", true},
        {u"\u20AC\u2122 caf\u00E9", "\x80\x99 caf\xE9", true},
        {u"\u0100\u0142\u2212\u4E2D\uAC00", "Al-??", false},
    };
    for (const auto& row : rows) {
        CHECK(ToAnsi(row.text) == row.ansi);
        if (row.both) CHECK(FromAnsi(row.ansi) == row.text);
    }
}
