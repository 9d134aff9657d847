// Colour fade engine: per-character colour markup fading from one colour to another.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace VeskFade {

// red + 256 * green + 65536 * blue (the COLORREF layout); negative values are system-colour references.
using ColorValue = std::int32_t;

// A 16-bit result, a difference or a packed colour left its range.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// A division raised invalid operation, division by zero or overflow.
class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Upper-case hexadecimal, padded to at least six digits; negative values as their eight 32-bit digits.
std::u16string ColorHex6(std::int32_t value);

std::u16string FadeBetweenComponents(std::int16_t startRed, std::int16_t startGreen, std::int16_t startBlue,
                                     std::int16_t endRed, std::int16_t endGreen, std::int16_t endBlue,
                                     std::u16string_view text);

std::u16string FadeBetweenColors(ColorValue startColor, ColorValue endColor, std::u16string_view text);

}  // namespace VeskFade
