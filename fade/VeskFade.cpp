// Colour fade engine: one "<Font Color=#RRGGBB>" tag per UTF-16 unit of the text.
#include "VeskFade.h"

#include <array>
#include <bit>
#include <cfenv>
#include <cstring>
#include <limits>
#include <new>

#ifdef _MSC_VER
#pragma fenv_access(on)
#endif

namespace VeskFade {
namespace {

constexpr char16_t kTagOpening[] = u"<Font Color=#";
constexpr std::size_t kTagOpeningLength = sizeof kTagOpening / sizeof kTagOpening[0] - 1;
constexpr char16_t kTagEnd = u'>';
// Tag opening, six digits, tag end, the character.
constexpr std::size_t kFragmentLength = kTagOpeningLength + 6 + 1 + 1;
static_assert(kFragmentLength == 21);

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// The hexadecimal text of a value as ColorHex6 writes it: 6 to 8 digits.
struct HexText {
    char16_t digits[8];
    int length;
};

HexText hexText(std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    int length = 6;
    while (length < 8 && (bits >> (4 * length)) != 0) {
        ++length;
    }
    HexText text{};
    text.length = length;
    for (int k = length - 1; k >= 0; --k) {
        text.digits[k] = kHexDigits[bits & 0xF];
        bits >>= 4;
    }
    return text;
}

std::int16_t pieceAt(const HexText& text, int first) {
    const auto digit = [](char16_t c) { return c <= u'9' ? c - u'0' : c - u'A' + 10; };
    return static_cast<std::int16_t>(16 * digit(text.digits[first]) + digit(text.digits[first + 1]));
}

// Two hexadecimal digits of every component value 0..255, stored as a unit.
struct DigitPair {
    char16_t digits[2];
};

constexpr auto kDigitPairs = [] {
    std::array<DigitPair, 256> pairs{};
    for (int v = 0; v < 256; ++v) {
        pairs[v] = {{kHexDigits[v >> 4], kHexDigits[v & 0xF]}};
    }
    return pairs;
}();

// Adding 1.5 * 2^52 rounds to an integer in one IEEE addition, halves to even (|x| < 2^51); the
// integer then sits in the low bits of the sum. MinGW's nearbyint is a slow library call.
constexpr double kRoundingBias = 6755399441055744.0;

std::int32_t roundHalfEven(double x) {
    const double biased = x + kRoundingBias;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(biased)));
}

constexpr int kCheckedStatus = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// d / n, checked through the floating-point status; the volatiles keep the division between
// the clearing and the reading of the status.
double checkedDivision(int difference, std::int32_t n, const char* component) {
    std::feclearexcept(kCheckedStatus);
    volatile double numerator = difference;
    volatile double denominator = n;
    volatile double quotient = numerator / denominator;
    if (std::fetestexcept(kCheckedStatus) != 0) {
        throw FloatingPointError(std::string("VeskFade: floating-point error in the step of the ") + component +
                                 " component");
    }
    return quotient;
}

// One component's interpolation: value(i) = s + i * step, each operation rounded to double.
struct Channel {
    double start;
    double step;

    Channel(std::int16_t s, std::int16_t e, std::int32_t n, const char* component) : start(s) {
        const int difference = e - s;
        if (difference < std::numeric_limits<std::int16_t>::min() ||
            difference > std::numeric_limits<std::int16_t>::max()) {
            throw OverflowError("VeskFade: overflow: the difference of the " + std::string(component) +
                                " components (" + std::to_string(e) + " - " + std::to_string(s) +
                                ") leaves the 16-bit range");
        }
        step = checkedDivision(difference, n, component);
    }

    std::int32_t at(double i) const { return roundHalfEven(start + i * step); }
};

bool isByte(std::int16_t component) { return component >= 0 && component <= 255; }

std::size_t resultLength(std::size_t n, std::size_t perCharacter, std::size_t limit) {
    if (n > limit / perCharacter) {
        throw std::bad_alloc();
    }
    return n * perCharacter;
}

// Components in 0..255: every value stays between start and end, so every colour has six digits
// and no conversion can overflow. Consecutive characters mostly share a colour: the fragment's
// first 20 units are rebuilt only when it changes.
std::u16string fadeBytes(const Channel& red, const Channel& green, const Channel& blue, std::u16string_view text) {
    std::u16string result;
    result.resize(resultLength(text.size(), kFragmentLength, result.max_size()));
    char16_t* out = result.data();

    char16_t fragment[kFragmentLength - 1];
    std::memcpy(fragment, kTagOpening, sizeof(char16_t) * kTagOpeningLength);
    fragment[kFragmentLength - 2] = kTagEnd;
    std::uint32_t shown = ~0u;

    double i = 0;
    for (const char16_t c : text) {
        i += 1;
        const auto r = static_cast<std::uint32_t>(red.at(i));
        const auto g = static_cast<std::uint32_t>(green.at(i));
        const auto b = static_cast<std::uint32_t>(blue.at(i));
        const std::uint32_t colour = r | g << 8 | b << 16;
        if (colour != shown) {
            shown = colour;
            std::memcpy(fragment + kTagOpeningLength, &kDigitPairs[r], sizeof(DigitPair));
            std::memcpy(fragment + kTagOpeningLength + 2, &kDigitPairs[g], sizeof(DigitPair));
            std::memcpy(fragment + kTagOpeningLength + 4, &kDigitPairs[b], sizeof(DigitPair));
        }
        std::memcpy(out, fragment, sizeof fragment);
        out[kFragmentLength - 1] = c;
        out += kFragmentLength;
    }
    return result;
}

std::int16_t checked16(std::int32_t value, const char* what) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError(std::string("VeskFade: overflow: the ") + what + " component " + std::to_string(value) +
                            " leaves the 16-bit range");
    }
    return static_cast<std::int16_t>(value);
}

// P = blue + 256 * green + 65536 * red: red and blue exchanged, so the digits read RRGGBB.
std::int32_t packedExchanged(const Channel& red, const Channel& green, const Channel& blue, double i) {
    const std::int64_t packed = checked16(blue.at(i), "blue") + 256 * std::int64_t{checked16(green.at(i), "green")} +
                                65536 * std::int64_t{checked16(red.at(i), "red")};
    if (packed < std::numeric_limits<std::int32_t>::min() || packed > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError("VeskFade: overflow: the packed colour " + std::to_string(packed) +
                            " leaves the 32-bit range");
    }
    return static_cast<std::int32_t>(packed);
}

// Any 16-bit components: colours of 6 to 8 digits. A first pass checks every colour and sums the
// length, so that the result is allocated once and no error leaves anything behind.
std::u16string fadeAny(const Channel& red, const Channel& green, const Channel& blue, std::u16string_view text) {
    std::u16string result;
    std::size_t length = 0;
    for (std::size_t k = 1; k <= text.size(); ++k) {
        const std::size_t fragment = kFragmentLength - 6 + hexText(packedExchanged(red, green, blue, double(k))).length;
        if (length > result.max_size() - fragment) {
            throw std::bad_alloc();
        }
        length += fragment;
    }
    result.resize(length);
    char16_t* out = result.data();
    double i = 0;
    for (const char16_t c : text) {
        i += 1;
        const HexText hex = hexText(packedExchanged(red, green, blue, i));
        std::memcpy(out, kTagOpening, sizeof(char16_t) * kTagOpeningLength);
        out += kTagOpeningLength;
        std::memcpy(out, hex.digits, sizeof(char16_t) * hex.length);
        out += hex.length;
        *out++ = kTagEnd;
        *out++ = c;
    }
    return result;
}

}  // namespace

std::u16string ColorHex6(std::int32_t value) {
    const HexText text = hexText(value);
    return std::u16string(text.digits, text.length);
}

std::u16string FadeBetweenComponents(std::int16_t startRed, std::int16_t startGreen, std::int16_t startBlue,
                                     std::int16_t endRed, std::int16_t endGreen, std::int16_t endBlue,
                                     std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError("VeskFade: overflow: the text is longer than a 32-bit count");
    }
    const auto n = static_cast<std::int32_t>(text.size());
    const Channel red(startRed, endRed, n, "red");
    const Channel green(startGreen, endGreen, n, "green");
    const Channel blue(startBlue, endBlue, n, "blue");
    if (isByte(startRed) && isByte(startGreen) && isByte(startBlue) && isByte(endRed) && isByte(endGreen) &&
        isByte(endBlue)) {
        return fadeBytes(red, green, blue, text);
    }
    return fadeAny(red, green, blue, text);
}

std::u16string FadeBetweenColors(ColorValue startColor, ColorValue endColor, std::u16string_view text) {
    const HexText h1 = hexText(startColor);
    const HexText h2 = hexText(endColor);
    // Pieces by position, whatever the length: blue the first two digits, green the next two, red the last two.
    return FadeBetweenComponents(pieceAt(h1, h1.length - 2), pieceAt(h1, 2), pieceAt(h1, 0),
                                 pieceAt(h2, h2.length - 2), pieceAt(h2, 2), pieceAt(h2, 0), text);
}

}  // namespace VeskFade
