#include "Announcements.h"

#include <doctest/doctest.h>

#include <string>

namespace {

// The colour digits of the i-th (0-based) fragment of a faded run starting at pos.
std::u16string TagColour(const std::u16string& line, std::size_t pos, std::size_t i)
{
    return line.substr(pos + 21 * i + 13, 6);
}

}  // namespace

TEST_CASE("announcement lines")
{
    const std::u16string face = u"<font face=\"arial narrow\">";
    const std::u16string trailer =
        u"<Font Color=#001B1B> <Font Color=#003737>'<Font Color=#005252>`<Font Color=#006E6E>v"
        u"<Font Color=#008989>'<Font Color=#00A5A5>`<Font Color=#00C0C0>v";

    SUBCASE("the fixed first lines have their lengths")
    {
        CHECK(Announcements::LoadedLine.size() == 31);
        CHECK(Announcements::UnloadedLine.size() == 33);
        CHECK(Announcements::LoadedLine.substr(15, 2) == u"\u2039\u00BB");
    }

    SUBCASE("line A is the face tag and the faded first line")
    {
        const std::u16string a = Announcements::LineA(Announcements::LoadedLine);
        REQUIRE(a.size() == 26 + 21 * 31);
        CHECK(a.substr(0, 26) == face);
        CHECK(a.substr(26, 21) == u"<Font Color=#000606>v");
        CHECK(a.substr(a.size() - 21) == u"<Font Color=#00C0C0>v");
        CHECK(a[26 + 21 * 15 + 20] == u'\u2039');
        CHECK(Announcements::LineA(Announcements::UnloadedLine).size() == 26 + 21 * 33);
    }

    SUBCASE("line B puts the handle between the faded version line and the trailer")
    {
        const std::u16string b = Announcements::LineB(u"Handle");
        const std::size_t version = 26, prefix = version + 21 * 24;
        REQUIRE(b.size() == prefix + 24 + 6 + 4 + 147);
        CHECK(b.substr(0, 26) == face);
        CHECK(TagColour(b, version, 0) == u"000808");
        CHECK(b.substr(prefix - 21, 21) == u"<Font Color=#00C0C0>:");
        CHECK(b.substr(prefix, 24 + 6 + 4) == u"<font color=#339999><b> Handle</b>");
        CHECK(b.substr(b.size() - 147) == trailer);
    }

    SUBCASE("the handle is passed on unescaped, and an empty one leaves prefix and suffix together")
    {
        CHECK(Announcements::LineB(u"<a&\"b>").find(u"<b> <a&\"b></b>") != std::u16string::npos);
        CHECK(Announcements::LineB(u"").find(u"<b> </b><Font Color=#001B1B> ") != std::u16string::npos);
    }
}
