// The fade written the plain way, one ColorHex6 text and one append per character; the unit tests, the
// fuzz target and the end-to-end tests hold the engine against it.
#pragma once

#include "VeskFade.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(_WIN32)
#include <float.h>
#elif defined(__i386__)
#include <fpu_control.h>
#endif

namespace FadeReference {

// The x87 unit's precision-control field, set as other code in the process may leave it. kPrecisions:
// 53 bits (exact doubles), 64 (MinGW's and Linux's start-up code), 24 (Direct3D). Where doubles are not
// x87 doubles there is nothing to set.
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
inline constexpr unsigned kPrecisions[] = {_PC_53, _PC_64, _PC_24};
inline unsigned x87Precision() { return _controlfp(0, 0) & _MCW_PC; }
inline void setX87Precision(unsigned field) { _controlfp(field, _MCW_PC); }
#elif defined(__i386__)
inline constexpr unsigned kPrecisions[] = {_FPU_DOUBLE, _FPU_EXTENDED, _FPU_SINGLE};
inline unsigned x87Precision() {
    fpu_control_t word;
    _FPU_GETCW(word);
    return word & _FPU_EXTENDED;
}
// The rest of the word as Linux starts a process: rounding to nearest, every exception masked.
inline void setX87Precision(unsigned field) {
    fpu_control_t word = (_FPU_DEFAULT & ~_FPU_EXTENDED) | field;
    _FPU_SETCW(word);
}
#else
inline constexpr unsigned kPrecisions[] = {0};
inline unsigned x87Precision() { return 0; }
inline void setX87Precision(unsigned) {}
#endif

// The plain algorithm needs IEEE doubles: on x87, 53 bits while it runs.
class IeeeDoubles {
public:
    IeeeDoubles() { setX87Precision(kPrecisions[0]); }
    ~IeeeDoubles() { setX87Precision(callers_); }
    IeeeDoubles(const IeeeDoubles&) = delete;
    IeeeDoubles& operator=(const IeeeDoubles&) = delete;

private:
    unsigned callers_ = x87Precision();
};

inline std::u16string hex6(std::int32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return std::u16string(digits, digits + std::char_traits<char>::length(digits));
}

inline std::int16_t checked16(std::int64_t value) {
    if (value < INT16_MIN || value > INT16_MAX) {
        throw VeskFade::OverflowError("16-bit overflow");
    }
    return static_cast<std::int16_t>(value);
}

inline std::u16string fadeComponents(std::int16_t startRed, std::int16_t startGreen, std::int16_t startBlue,
                                     std::int16_t endRed, std::int16_t endGreen, std::int16_t endBlue,
                                     std::u16string_view text) {
    const std::int16_t start[3] = {startRed, startGreen, startBlue};
    const std::int16_t end[3] = {endRed, endGreen, endBlue};
    const auto n = static_cast<std::int32_t>(text.size());
    const IeeeDoubles ieee;
    std::u16string result;
    for (std::int32_t i = 1; i <= n; ++i) {
        std::int64_t component[3];
        for (int k = 0; k < 3; ++k) {
            const std::int16_t d = checked16(std::int64_t{end[k]} - start[k]);
            const double step = static_cast<double>(d) / static_cast<double>(n);
            const double product = static_cast<double>(i) * step;
            component[k] = checked16(static_cast<std::int64_t>(std::nearbyint(start[k] + product)));
        }
        const std::int64_t packed = component[2] + 256 * component[1] + 65536 * component[0];
        if (packed < INT32_MIN || packed > INT32_MAX) {
            throw VeskFade::OverflowError("32-bit overflow");
        }
        result += u"<Font Color=#";
        result += hex6(static_cast<std::int32_t>(packed));
        result += u'>';
        result += text[i - 1];
    }
    return result;
}

// The two-digit pieces of ColorHex6's text by position: red the last two digits, green the 3rd and 4th,
// blue the first two.
inline std::int16_t piece(const std::u16string& hex, std::size_t at) {
    return static_cast<std::int16_t>(std::stoi(std::string(hex.begin() + at, hex.begin() + at + 2), nullptr, 16));
}

inline std::u16string fadeColors(VeskFade::ColorValue startColor, VeskFade::ColorValue endColor,
                                 std::u16string_view text) {
    const std::u16string s = hex6(startColor), e = hex6(endColor);
    return fadeComponents(piece(s, s.size() - 2), piece(s, 2), piece(s, 0), piece(e, e.size() - 2), piece(e, 2),
                          piece(e, 0), text);
}

// A fade's markup, or "overflow" where it overflows.
inline std::u16string outcome(decltype(&VeskFade::FadeBetweenComponents) fade, const std::int16_t (&c)[6],
                              std::u16string_view text) {
    try {
        return fade(c[0], c[1], c[2], c[3], c[4], c[5], text);
    } catch (const VeskFade::OverflowError&) {
        return u"overflow";
    }
}

}  // namespace FadeReference
