#include "Announcements.h"

#include "VeskFade.h"

namespace Announcements {
namespace {

// Non-ASCII characters as escapes, so that no source or compiler encoding can change them.
constexpr std::u16string_view kFaceTag = u"<font face=\"arial narrow\">";
constexpr std::u16string_view kVersionLine = u"v\u00B4'v\u00B4' v\u00E8rsi\u00F8n\u00B9 \u2039\u00BB \u00FAs\u00E8r:";
constexpr std::u16string_view kHandlePrefix = u"<font color=#339999><b> ";
constexpr std::u16string_view kHandleSuffix = u"</b>";
constexpr std::u16string_view kTrailer = u" '`v'`v";

constexpr VeskFade::ColorValue kFadeStart = 0;  // black
constexpr VeskFade::ColorValue kFadeEnd = 12632064;  // 0xC0C000: green 192, blue 192

std::u16string Faded(std::u16string_view text) {
    return VeskFade::FadeBetweenColors(kFadeStart, kFadeEnd, text);
}

}  // namespace

const std::u16string_view LoadedLine = u"v\u00B4'v\u00B4' q\u00F9\u00E8nl\u00F8w \u2039\u00BB l\u00F8ad\u00E8d '`v'`v";
const std::u16string_view UnloadedLine =
    u"v\u00B4'v\u00B4' q\u00F9\u00E8nl\u00F8w \u2039\u00BB \u00FAnl\u00F8ad\u00E8d '`v'`v";

std::u16string LineA(std::u16string_view firstLine) {
    std::u16string line(kFaceTag);
    line += Faded(firstLine);
    return line;
}

std::u16string LineB(std::u16string_view handle) {
    std::u16string line(kFaceTag);
    line += Faded(kVersionLine);
    line += kHandlePrefix;
    line += handle;
    line += kHandleSuffix;
    line += Faded(kTrailer);
    return line;
}

}  // namespace Announcements
