// Colour fade engine: one "<Font Color=#RRGGBB>" tag per UTF-16 unit of the text.
#include "VeskFade.h"

#include <array>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cfenv>
#include <cstring>
#include <limits>
#include <new>

#if defined(_WIN32)
#include <float.h>
#elif defined(__i386__)
#include <fpu_control.h>
#endif

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

// The 64-bit word whose memory holds the four units a, b, c, d in this order.
constexpr std::uint64_t unitWord(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
    if constexpr (std::endian::native == std::endian::little) {
        return a | b << 16 | c << 32 | d << 48;
    } else {
        return a << 48 | b << 32 | c << 16 | d;
    }
}

// The two hexadecimal digits of every component value 0..255 as units 0-1 and as units 2-3 of a
// word, so that a fragment's digit words are put together with one OR and no shift.
constexpr auto kDigitPairs = [] {
    std::array<std::array<std::uint64_t, 256>, 2> pairs{};
    for (std::uint64_t v = 0; v < 256; ++v) {
        pairs[0][v] = unitWord(kHexDigits[v >> 4], kHexDigits[v & 0xF], 0, 0);
        pairs[1][v] = unitWord(0, 0, kHexDigits[v >> 4], kHexDigits[v & 0xF]);
    }
    return pairs;
}();

// Adding 1.5 * 2^52 rounds to an integer in one IEEE addition, halves to even (|x| < 2^51); the
// integer then sits in the low bits of the sum. MinGW's nearbyint is a slow library call.
constexpr double kRoundingBias = 6755399441055744.0;

std::int32_t roundedBits(double biased) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(biased)));
}

std::int32_t roundHalfEven(double x) { return roundedBits(x + kRoundingBias); }

// Whether an invalid operation, a division by zero or an overflow has raised its status flag. On
// Windows the CRT's: MinGW's fetestexcept asks the processor for SSE (CPUID) at every call, which
// costs about a microsecond in a virtual machine.
#if defined(_WIN32)
// _statusfp's bits, MSVC's _SW_INVALID, _SW_ZERODIVIDE and _SW_OVERFLOW (MinGW's <float.h> lacks them).
constexpr unsigned kCheckedStatus = 0x10 | 0x08 | 0x04;
bool checkedStatusRaised() { return (_statusfp() & kCheckedStatus) != 0; }
void clearStatus() { _clearfp(); }
#else
constexpr int kCheckedStatus = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
bool checkedStatusRaised() { return std::fetestexcept(kCheckedStatus) != 0; }
void clearStatus() { std::feclearexcept(kCheckedStatus); }
#endif

// d / n, followed by a check of the floating-point status. The status is cleared once for the three
// divisions (clearing is slow; a test after each still tells which raised); the volatiles keep the
// division between the clearing and the test.
double checkedDivision(int difference, std::int32_t n, const char* component) {
    volatile double numerator = difference;
    volatile double denominator = n;
    volatile double quotient = numerator / denominator;
    if (checkedStatusRaised()) {
        throw FloatingPointError(std::string("VeskFade: floating-point error in the step of the ") + component +
                                 " component");
    }
    return quotient;
}

// One component's interpolation: value(i) = s + i * step, each operation rounded to double.
struct Channel {
    double start;
    double step;
    int difference;

    Channel(std::int16_t s, std::int16_t e, std::int32_t n, const char* component) : start(s), difference(e - s) {
        if (difference < std::numeric_limits<std::int16_t>::min() ||
            difference > std::numeric_limits<std::int16_t>::max()) {
            throw OverflowError("VeskFade: overflow: the difference of the " + std::string(component) +
                                " components (" + std::to_string(e) + " - " + std::to_string(s) +
                                ") leaves the 16-bit range");
        }
        step = checkedDivision(difference, n, component);
    }

    std::int32_t at(double i) const { return roundHalfEven(start + i * step); }
    // The sum that at(i) rounds, the bias already added: roundedBits of it is at(i).
    double biasedValue(double i) const { return start + i * step + kRoundingBias; }

    // The first position after i whose component differs from at(i) == v, n + 1 when none. The
    // component is monotone in i: estimate where the value crosses the half-way point to the next
    // integer, then correct the estimate with at() itself.
    std::int32_t nextChange(std::int32_t i, std::int32_t v, std::int32_t n) const {
        if (difference == 0) {
            return n + 1;
        }
        const double crossing = ((difference > 0 ? v + 0.5 : v - 0.5) - start) / step;
        std::int32_t j = crossing < i + 1 ? i + 1 : crossing > n ? n + 1 : static_cast<std::int32_t>(crossing);
        while (j > i + 1 && at(j - 1) != v) {
            --j;
        }
        while (j <= n && at(j) == v) {
            ++j;
        }
        return j;
    }
};

// The arithmetic the markup needs: IEEE doubles rounded to nearest. On 32-bit x86 the x87 unit gives
// IEEE doubles only at 53-bit precision, and start-up code and DLLs leave others (MinGW's start-up code
// and Linux: 64 bits; Direct3D: 24); elsewhere doubles are IEEE doubles and only the rounding can differ.
#if defined(_M_IX86) || defined(__i386__)
#if defined(_WIN32)
using ArithmeticMode = unsigned int;
constexpr ArithmeticMode kModeFields = _MCW_PC | _MCW_RC;
ArithmeticMode currentMode() { return _controlfp(0, 0); }
void setMode(ArithmeticMode mode) { _controlfp(mode, kModeFields); }
ArithmeticMode exactMode(ArithmeticMode mode) { return (mode & ~kModeFields) | _PC_53 | _RC_NEAR; }
#else
using ArithmeticMode = fpu_control_t;
constexpr ArithmeticMode kModeFields = 0x300 | 0xC00;  // precision control, rounding control
ArithmeticMode currentMode() {
    ArithmeticMode mode;
    _FPU_GETCW(mode);
    return mode;
}
void setMode(ArithmeticMode mode) { _FPU_SETCW(mode); }
ArithmeticMode exactMode(ArithmeticMode mode) { return (mode & ~kModeFields) | _FPU_DOUBLE | _FPU_RC_NEAREST; }
#endif
#else
using ArithmeticMode = int;
ArithmeticMode currentMode() { return std::fegetround(); }
void setMode(ArithmeticMode mode) { std::fesetround(mode); }
ArithmeticMode exactMode(ArithmeticMode) { return FE_TONEAREST; }
#endif

// Holds the exact arithmetic for the duration of a call, whatever the caller left, and gives the
// caller's setting back; when it is held already, nothing is set.
class ExactArithmetic {
public:
    ExactArithmetic() : callers_(currentMode()), exact_(exactMode(callers_)) {
        if (callers_ != exact_) {
            setMode(exact_);
        }
    }
    ~ExactArithmetic() {
        if (callers_ != exact_) {
            setMode(callers_);
        }
    }
    ExactArithmetic(const ExactArithmetic&) = delete;
    ExactArithmetic& operator=(const ExactArithmetic&) = delete;

private:
    ArithmeticMode callers_;
    ArithmeticMode exact_;
};

bool isByte(std::int16_t component) { return component >= 0 && component <= 255; }

std::size_t resultLength(std::size_t n, std::size_t perCharacter, std::size_t limit) {
    if (n > limit / perCharacter) {
        throw std::bad_alloc();
    }
    return n * perCharacter;
}

// Components in 0..255: every value stays between start and end, so every colour has six digits
// and no conversion can overflow.

// Units 13-16 (red and green digits) and 17-20 (blue digits, tag end, character) of a fragment.
struct ColourWords {
    std::uint64_t digits;
    std::uint64_t tail;  // the character's unit left 0

    // The mask keeps the table index in range even should the rounding not be held.
    ColourWords(std::int32_t r, std::int32_t g, std::int32_t b)
        : digits(kDigitPairs[0][r & 0xFF] | kDigitPairs[1][g & 0xFF]),
          tail(kDigitPairs[0][b & 0xFF] | unitWord(0, 0, kTagEnd, 0)) {}
};

// Fragments are assembled in a small buffer whose tag openings are written once, then appended to
// the result reserved at its full size. Per character that leaves two word stores into memory
// already in the cache and the share of one bulk copy; writing in place into a zero-filled result
// costs a fill of every byte plus four stores a character.
class FragmentBuffer {
public:
    static constexpr std::int32_t kFragments = 256;

    explicit FragmentBuffer(std::size_t n) {
        const char16_t* end = units_ + kFragmentLength * std::min<std::size_t>(n, kFragments);
        for (char16_t* slot = units_; slot != end; slot += kFragmentLength) {
            std::memcpy(slot, kTagOpening, sizeof(char16_t) * kTagOpeningLength);
        }
    }

    void write(std::int32_t k, const ColourWords& colour, char16_t c) {
        const std::uint64_t tail = colour.tail | unitWord(0, 0, 0, c);
        char16_t* digits = units_ + kFragmentLength * k + kTagOpeningLength;
        std::memcpy(digits, &colour.digits, sizeof colour.digits);
        std::memcpy(digits + 4, &tail, sizeof tail);
    }

    void appendTo(std::u16string& result, std::int32_t count) const {
        result.append(units_, kFragmentLength * static_cast<std::size_t>(count));
    }

private:
    char16_t units_[kFragments * kFragmentLength];
};

// Short runs of one colour: every character computes its colour. The three sums s + i * step
// (biased for rounding) are computed for a buffer's worth of positions in one loop that compilers
// vectorise, in whole groups of kGroup even past the end of the text: a fixed count vectorises
// best, and values past the end are never used. Each sum's low bits are then its component.
void appendEachColour(std::u16string& result, const Channel (&channels)[3], std::u16string_view text) {
    constexpr std::int32_t kBlock = FragmentBuffer::kFragments;
    constexpr std::int32_t kGroup = 8;
    static_assert(kBlock % kGroup == 0);
    static constexpr auto kPositions = [] {
        std::array<double, kBlock> positions{};
        for (std::int32_t k = 0; k < kBlock; ++k) {
            positions[k] = k + 1;
        }
        return positions;
    }();
    FragmentBuffer buffer(text.size());
    double sums[3][kBlock];
    const Channel red = channels[0];
    const Channel green = channels[1];
    const Channel blue = channels[2];
    const auto n = static_cast<std::int32_t>(text.size());
    for (std::int32_t first = 0; first < n; first += kBlock) {
        const double base = first;
        const std::int32_t count = std::min(kBlock, n - first);
        for (std::int32_t group = 0; group < count; group += kGroup) {
            for (std::int32_t k = group; k < group + kGroup; ++k) {
                const double i = base + kPositions[k];
                sums[0][k] = red.biasedValue(i);
                sums[1][k] = green.biasedValue(i);
                sums[2][k] = blue.biasedValue(i);
            }
        }
        for (std::int32_t k = 0; k < count; ++k) {
            const ColourWords colour(roundedBits(sums[0][k]), roundedBits(sums[1][k]), roundedBits(sums[2][k]));
            buffer.write(k, colour, text[first + k]);
        }
        buffer.appendTo(result, count);
    }
}

// Long runs of one colour: the colour is computed only where a component changes.
void appendColourRuns(std::u16string& result, const Channel (&channels)[3], std::u16string_view text) {
    FragmentBuffer buffer(text.size());
    const auto n = static_cast<std::int32_t>(text.size());
    std::int32_t value[3] = {};
    std::int32_t change[3] = {1, 1, 1};
    std::int32_t nextChange = 1;
    ColourWords colour(0, 0, 0);
    std::int32_t i = 1;
    for (std::int32_t first = 0; first < n; first += FragmentBuffer::kFragments) {
        const std::int32_t count = std::min(FragmentBuffer::kFragments, n - first);
        for (std::int32_t k = 0; k < count; ++k, ++i) {
            if (i == nextChange) {
                for (int c = 0; c < 3; ++c) {
                    if (change[c] == i) {
                        value[c] = channels[c].at(i);
                        change[c] = channels[c].nextChange(i, value[c], n);
                    }
                }
                nextChange = std::min({change[0], change[1], change[2]});
                colour = ColourWords(value[0], value[1], value[2]);
            }
            buffer.write(k, colour, text[first + k]);
        }
        buffer.appendTo(result, count);
    }
}

// Finding a change costs about as much as a few characters computed one by one.
constexpr std::size_t kRunLengthForRuns = 8;

std::u16string fadeBytes(const Channel& red, const Channel& green, const Channel& blue, std::u16string_view text) {
    const Channel channels[3] = {red, green, blue};
    std::u16string result;
    result.reserve(resultLength(text.size(), kFragmentLength, result.max_size()));
    const std::size_t changes = std::abs(red.difference) + std::abs(green.difference) + std::abs(blue.difference);
    if (text.size() >= kRunLengthForRuns * (changes + 1)) {
        appendColourRuns(result, channels, text);
    } else {
        appendEachColour(result, channels, text);
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
    const ExactArithmetic exactArithmetic;
    // Clearing the status (a reload of the whole x87 environment) costs more than a short fade;
    // testing it is cheap, and it is normally clear already.
    if (checkedStatusRaised()) {
        clearStatus();
    }
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
