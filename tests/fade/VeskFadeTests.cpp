#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "FadeReference.h"
#include "VeskFade.h"

#include <cfenv>
#include <random>

using VeskFade::ColorHex6;
using VeskFade::FadeBetweenColors;
using VeskFade::FadeBetweenComponents;
using VeskFade::OverflowError;
using FadeReference::kPrecisions;
using FadeReference::setX87Precision;
using FadeReference::x87Precision;

namespace {

// The colour digits of every fragment, in order.
std::u16string colourDigits(std::u16string_view markup) {
    std::u16string digits;
    for (std::size_t k = 0; k + 21 <= markup.size(); k += 21) {
        digits += markup.substr(k + 13, 6);
        digits += u' ';
    }
    return digits;
}

std::u16string randomText(std::mt19937& random, std::size_t length) {
    std::u16string text(length, u'\0');
    for (char16_t& c : text) {
        c = static_cast<char16_t>(random());
    }
    return text;
}


}  // namespace

TEST_CASE("ColorHex6 pads to six digits and writes negative values as eight") {
    const struct {
        std::int32_t value;
        std::u16string_view hex;
    } table[] = {{0, u"000000"},        {255, u"0000FF"},      {0x123, u"000123"},    {0xFF0000, u"FF0000"},
                 {0x1000000, u"1000000"}, {-1, u"FFFFFFFF"}, {-2147483633, u"8000000F"}, {INT32_MIN, u"80000000"},
                 {0xABCDE, u"0ABCDE"},  {INT32_MAX, u"7FFFFFFF"}};
    for (const auto& row : table) {
        CAPTURE(row.value);
        CHECK(ColorHex6(row.value) == row.hex);
    }
}

TEST_CASE("FadeBetweenColors gives the exact markup") {
    SUBCASE("red to blue on abc") {
        CHECK(FadeBetweenColors(255, 0xFF0000, u"abc") ==
              u"<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c");
    }
    SUBCASE("steps that are not whole numbers") {
        CHECK(colourDigits(FadeBetweenColors(0, 0xC0C000, u"seven c")) ==
              u"001B1B 003737 005252 006E6E 008989 00A5A5 00C0C0 ");
    }
    SUBCASE("seven- and eight-digit colours are read by position") {
        CHECK(FadeBetweenColors(-2147483633, -2147483633, u"x") == u"<Font Color=#0F0080>x");
        CHECK(FadeBetweenColors(0x1ABCDEF, 0x1ABCDEF, u"x") == u"<Font Color=#EFBC1A>x");
        CHECK(FadeBetweenColors(-1, 0, u"ab") == u"<Font Color=#808080>a<Font Color=#000000>b");
    }
    SUBCASE("characters pass through unchanged and unescaped") {
        CHECK(FadeBetweenColors(0, 0, u"a<b") == u"<Font Color=#000000>a<Font Color=#000000><<Font Color=#000000>b");
    }
}

TEST_CASE("the fade is exact whatever floating-point state the caller left") {
    // Status flags raised by other code must not fail the fade either.
    for (const unsigned precision : kPrecisions) {
        for (const int rounding : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
            CAPTURE(precision);
            CAPTURE(rounding);
            setX87Precision(precision);
            REQUIRE(std::fesetround(rounding) == 0);
            std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
            const std::u16string steps = FadeBetweenColors(0, 29, u"fourteen chars");
            const std::u16string halves = FadeBetweenColors(0, 0xFFFFFF, u"ab") + FadeBetweenColors(0, 0x555555, u"ab");
            const unsigned precisionAfter = x87Precision();
            const int roundingAfter = std::fegetround();
            setX87Precision(kPrecisions[0]);
            std::fesetround(FE_TONEAREST);
            std::feclearexcept(FE_ALL_EXCEPT);

            // 7 * (29 / 14) computes to 14.500000000000002: red 15 at the 7th character, where exact
            // arithmetic gives 14. 127.5 goes to 128, 42.5 to 42.
            CHECK(colourDigits(steps) == u"020000 040000 060000 080000 0A0000 0C0000 0F0000 110000 130000 150000 "
                                         u"170000 190000 1B0000 1D0000 ");
            CHECK(colourDigits(halves) == u"808080 FFFFFF 2A2A2A 555555 ");
            CHECK(precisionAfter == precision);
            CHECK(roundingAfter == rounding);
        }
    }
}

TEST_CASE("FadeBetweenComponents checks its 16-bit arithmetic: differences and packed colours overflow, with no "
          "wrap; other 16-bit colours give 7 and 8 digits") {
    const struct { std::int16_t c[6]; std::u16string_view text, markup; } rows[] = {  // "overflow": it overflows
        {{-32768, 0, 0, 32767, 0, 0}, u"ab", u"overflow"},  {{0, 32767, 0, 0, -2, 0}, u"ab", u"overflow"},
        {{0, 0, -20000, 0, 0, 20000}, u"ab", u"overflow"},  {{32767, 256, 0, 32767, 256, 0}, u"x", u"overflow"},
        {{-32768, -32768, 0, -32768, -32768, 0}, u"x", u"overflow"},
        {{32767, 0, 0, 32767, 512, 0}, u"abcdefgh", u"overflow"},  // green passes 255 at the fourth character
        {{32767, 256, 0, 32767, 256, 0}, u"", u""},
        {{32767, 255, 255, 32767, 255, 255}, u"x", u"<Font Color=#7FFFFFFF>x"},
        {{0, 0, -1, 0, 0, -1}, u"x", u"<Font Color=#FFFFFFFF>x"},
        {{256, 0, 0, 256, 0, 0}, u"x", u"<Font Color=#1000000>x"},
        {{-4, 300, 5, 2, 0, 5}, u"ab", u"<Font Color=#FFFF9605>a<Font Color=#020005>b"},
    };
    for (const auto& row : rows) CHECK(FadeReference::outcome(FadeBetweenComponents, row.c, row.text) == row.markup);
    CHECK_THROWS_WITH_AS(FadeBetweenComponents(0, 0, 1, 0, 0, -32768, u"a"),
                         "VeskFade: overflow: the difference of the blue components (-32768 - 1) leaves the "
                         "16-bit range",
                         OverflowError);
}

TEST_CASE("random fades are well formed and match the plain algorithm") {
    std::mt19937 random(20240611);
    SUBCASE("colours of any 32 bits") {
        for (int round = 0; round < 300; ++round) {
            const auto start = static_cast<VeskFade::ColorValue>(round % 3 == 0 ? random() : random() & 0xFFFFFF);
            // Every other fade has long runs of one colour: colours close together, longer texts.
            const bool close = round % 2 == 1;
            const auto end = static_cast<VeskFade::ColorValue>(
                close ? start ^ (random() & 0x070707) : round % 5 == 0 ? random() : random() & 0xFFFFFF);
            const std::u16string text = randomText(random, random() % (close ? 3000 : 600));
            CAPTURE(start);
            CAPTURE(end);
            CAPTURE(text.size());
            const std::u16string markup = FadeBetweenColors(start, end, text);
            REQUIRE(markup == FadeReference::fadeColors(start, end, text));
        }
    }
    SUBCASE("any 16-bit components") {
        for (int round = 0; round < 600; ++round) {
            std::int16_t c[6];
            for (auto& component : c) {
                component = static_cast<std::int16_t>(round % 2 ? random() : random() % 1200 - 600);
            }
            const std::u16string text = randomText(random, random() % 100);
            CAPTURE(round);
            REQUIRE(FadeReference::outcome(FadeBetweenComponents, c, text) ==
                    FadeReference::outcome(FadeReference::fadeComponents, c, text));
        }
    }
    SUBCASE("texts longer than 16 bits") {
        const std::u16string text = randomText(random, 70001);
        CHECK(FadeBetweenColors(0x0080FF, 0xFF8000, text) == FadeReference::fadeColors(0x0080FF, 0xFF8000, text));
    }
}
