#include "Announcements.h"

#include "VeskFade.h"

namespace Announcements {
namespace {

// Non-ASCII characters as escapes, so that no source or compiler encoding can change them.
constexpr std::u16string_view FaceTag = u"<font face=\"arial narrow\">";
constexpr std::u16string_view VersionLine = u"v\u00B4'v\u00B4' v\u00E8rsi\u00F8n\u00B9 \u2039\u00BB \u00FAs\u00E8r:";
constexpr std::u16string_view HandlePrefix = u"<font color=#339999><b> ";
constexpr std::u16string_view HandleSuffix = u"</b>";
constexpr std::u16string_view Trailer = u" '`v'`v";

constexpr VeskFade::ColorValue FadeStart = 0;         // black
constexpr VeskFade::ColorValue FadeEnd = 12632064;    // 0xC0C000: green 192, blue 192

std::u16string Faded(std::u16string_view text) {
    return VeskFade::FadeBetweenColors(FadeStart, FadeEnd, text);
}

}  // namespace

const std::u16string_view LoadedLine = u"v\u00B4'v\u00B4' q\u00F9\u00E8nl\u00F8w \u2039\u00BB l\u00F8ad\u00E8d '`v'`v";
const std::u16string_view UnloadedLine =
    u"v\u00B4'v\u00B4' q\u00F9\u00E8nl\u00F8w \u2039\u00BB \u00FAnl\u00F8ad\u00E8d '`v'`v";

std::u16string LineA(std::u16string_view firstLine) {
    std::u16string line(FaceTag);
    line += Faded(firstLine);
    return line;
}

std::u16string LineB(std::u16string_view handle) {
    std::u16string line(FaceTag);
    line += Faded(VersionLine);
    line += HandlePrefix;
    line += handle;
    line += HandleSuffix;
    line += Faded(Trailer);
    return line;
}

}  // namespace Announcements
