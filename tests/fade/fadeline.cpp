// fadeline START END TEXT: prints the fade markup of TEXT as UTF-8. Colours are ColorValues,
// decimal or 0x-prefixed hexadecimal (a 32-bit pattern such as 0x8000000F).
#include "VeskFade.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

VeskFade::ColorValue parseColour(std::string_view arg) {
    std::int64_t value = 0;
    const bool hex = arg.starts_with("0x") || arg.starts_with("0X");
    const std::string_view digits = hex ? arg.substr(2) : arg;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    const bool fits = hex ? value >= 0 && value <= 0xFFFFFFFF : value >= INT32_MIN && value <= INT32_MAX;
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !fits) {
        throw std::invalid_argument("not a 32-bit colour value: " + std::string(arg));
    }
    return static_cast<VeskFade::ColorValue>(static_cast<std::uint32_t>(value));
}

std::u16string fromUtf8(std::string_view in) {
    std::u16string out;
    for (std::size_t k = 0; k < in.size();) {
        const auto lead = static_cast<unsigned char>(in[k]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                                                                        : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
        if (extra < 0 || in.size() - k <= static_cast<std::size_t>(extra)) {
            throw std::invalid_argument("the text is not valid UTF-8");
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int t = 1; t <= extra; ++t) {
            const auto next = static_cast<unsigned char>(in[k + t]);
            if ((next & 0xC0) != 0x80) {
                throw std::invalid_argument("the text is not valid UTF-8");
            }
            code = code << 6 | (next & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            throw std::invalid_argument("the text is not valid UTF-8");
        }
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        k += 1 + extra;
    }
    return out;
}

// A surrogate pair split by a tag prints as two U+FFFD.
std::string toUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t k = 0; k < in.size(); ++k) {
        char32_t code = in[k];
        if (code >= 0xD800 && code < 0xDC00 && k + 1 < in.size() && in[k + 1] >= 0xDC00 && in[k + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (in[++k] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: fadeline START END TEXT\n");
        return 2;
    }
    try {
        const std::string markup =
            toUtf8(VeskFade::FadeBetweenColors(parseColour(argv[1]), parseColour(argv[2]), fromUtf8(argv[3])));
        std::fwrite(markup.data(), 1, markup.size(), stdout);
        std::fputc('\n', stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fadeline: %s\n", error.what());
        return 1;
    }
}
