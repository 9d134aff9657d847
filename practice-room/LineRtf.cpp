#include "LineRtf.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace practice_room {

namespace {

// The base format's size: the markup's size 2.
constexpr int kBaseSize = 2;
// In half-points, by the markup's size.
constexpr int kHalfPoints[] = {16, 20, 24, 28, 36, 48, 72};

// Characters as RTF text: printable ASCII as it is, RTF's own characters behind a backslash, any other
// character as \uN with "?" for readers without Unicode.
void AppendText(std::string& rtf, std::u16string_view text) {
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            rtf += static_cast<char>(c);
        } else {
            rtf += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + '?';
        }
    }
}

// Numbers each distinct value in order of first use, from first on; a new one is handed to add.
template <class Key>
class Table {
public:
    explicit Table(int first) : next_(first) {}
    template <class Add>
    int Number(const Key& key, Add add) {
        const auto [entry, added] = numbers_.try_emplace(key, next_);
        if (added) add(next_++);
        return entry->second;
    }

private:
    std::unordered_map<Key, int> numbers_;
    int next_;
};

// A font table's entry. A face name ends at ";", which no face holds.
void AppendFont(std::string& table, int number, std::u16string face) {
    std::erase(face, u';');
    table += "{\\f" + std::to_string(number) + "\\fnil ";
    AppendText(table, face);
    table += ";}";
}

}  // namespace

bool FaceInRtf(std::u16string_view face) {
    return std::ranges::all_of(face, [](char16_t c) { return c >= 0x20 && c < 0x7F; });
}

std::string LineRtf(const std::vector<MarkupRun>& runs, bool afterLine) {
    const std::string indent = std::to_string(kWrapIndent);
    std::string fonts, colors, body = afterLine ? "\\pard\\li" + indent + "\\fi-" + indent + "\\par" : "";
    Table<std::u16string> faces(1);  // 0 is the base face, the default of text with no face
    Table<std::uint32_t> colorNumbers(1);  // 0 is the control's own colour
    const auto color = [&](std::uint32_t rgb) {
        return colorNumbers.Number(rgb, [&](int) {
            colors += "\\red" + std::to_string(rgb >> 16) + "\\green" + std::to_string((rgb >> 8) & 0xFF) +
                      "\\blue" + std::to_string(rgb & 0xFF) + ';';
        });
    };
    // A control word ends at the space after it, which is not text.
    const auto word = [&](const char* name, std::string value = {}) { body += std::string("\\") + name + value + ' '; };
    const auto number = [&](const char* name, int value) { word(name, std::to_string(value)); };

    // Each run a group of what sets it apart from the base format, which the group's end restores.
    for (const MarkupRun& run : runs) {
        body += '{';
        if (!run.face.empty() && FaceInRtf(run.face))
            number("f", faces.Number(run.face, [&](int font) { AppendFont(fonts, font, run.face); }));
        if (run.size != kBaseSize) number("fs", kHalfPoints[std::clamp(run.size, 1, 7) - 1]);
        if (run.color != 0) number("cf", color(run.color));
        if (run.back) number("highlight", color(*run.back));
        if (run.bold) word("b");
        if (run.italic) word("i");
        if (run.underline) word("ul");
        if (run.strike) word("strike");
        AppendText(body, run.text);
        body += '}';
    }
    // Tables only when used: a font table, even one that no run uses, slows every line in Wine's rich edit
    // as the text grows.
    std::string rtf = "{\\rtf1";
    if (!fonts.empty()) {
        rtf += "\\deff0{\\fonttbl";
        AppendFont(rtf, 0, kBaseFace);
        rtf += fonts + "}";
    }
    if (!colors.empty()) rtf += "{\\colortbl;" + colors + "}";
    return rtf + body + "}";
}

}  // namespace practice_room
