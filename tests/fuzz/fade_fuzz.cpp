// Feeds arbitrary colours, 16-bit components and texts to the fade engine. It must give the plain
// algorithm's fade; components may overflow, and then the plain algorithm must overflow too.
#include "FadeReference.h"
#include "VeskFade.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t count = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, count);
    data += count;
    size -= count;
    return value;
}

void fail(const char* what) {
    std::fprintf(stderr, "fade_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool components = take<std::uint8_t>(data, size) & 1;
    std::int16_t c[6] = {};
    VeskFade::ColorValue start = 0, end = 0;
    if (components) {
        for (auto& component : c) {
            component = take<std::int16_t>(data, size);
        }
    } else {
        start = take<std::int32_t>(data, size);
        end = take<std::int32_t>(data, size);
    }
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, 2 * text.size());

    if (components) {
        using FadeReference::outcome;
        if (outcome(VeskFade::FadeBetweenComponents, c, text) != outcome(FadeReference::fadeComponents, c, text)) {
            fail("FadeBetweenComponents differs from the plain algorithm");
        }
        return 0;
    }
    const std::u16string markup = VeskFade::FadeBetweenColors(start, end, text);
    if (markup != FadeReference::fadeColors(start, end, text)) {
        fail("FadeBetweenColors differs from the plain algorithm");
    }
    return 0;
}
