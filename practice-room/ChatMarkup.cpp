#include "ChatMarkup.h"

#include <optional>

namespace practice_room {

namespace {

struct Style {
    std::uint32_t color = 0;
    bool bold = false;
    std::size_t face = 0;  // index into the faces seen; 0 is the default
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsNoCase(std::u16string_view a, std::u16string_view lowerB) {
    if (a.size() != lowerB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != lowerB[i]) return false;
    return true;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsNameChar(char16_t c) { c = Lower(c); return (c >= u'a' && c <= u'z') || c == u'-'; }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    c = Lower(c);
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseColor(std::u16string_view value) {
    if (!value.empty() && value.front() == u'#') value.remove_prefix(1);
    if (value.size() != 6) return std::nullopt;
    std::uint32_t color = 0;
    for (char16_t c : value) {
        int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        color = color * 16 + static_cast<std::uint32_t>(digit);
    }
    return color;
}

// Applies the attributes of a font tag (the text after "font") to style; false if not understood.
bool ApplyFontAttributes(std::u16string_view attributes, Style& style, std::vector<std::u16string>& faces) {
    std::size_t i = 0;
    const auto skipSpace = [&] { while (i < attributes.size() && IsSpace(attributes[i])) ++i; };
    skipSpace();
    while (i < attributes.size()) {
        const std::size_t nameStart = i;
        while (i < attributes.size() && IsNameChar(attributes[i])) ++i;
        const std::u16string_view name = attributes.substr(nameStart, i - nameStart);
        skipSpace();
        if (name.empty() || i >= attributes.size() || attributes[i] != u'=') return false;
        ++i;
        skipSpace();
        std::u16string_view value;
        if (i < attributes.size() && (attributes[i] == u'"' || attributes[i] == u'\'')) {
            const std::size_t close = attributes.find(attributes[i], i + 1);
            if (close == std::u16string_view::npos) return false;
            value = attributes.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const std::size_t valueStart = i;
            while (i < attributes.size() && !IsSpace(attributes[i])) ++i;
            value = attributes.substr(valueStart, i - valueStart);
        }
        if (EqualsNoCase(name, u"color")) {
            const auto color = ParseColor(value);
            if (!color) return false;
            style.color = *color;
        } else if (EqualsNoCase(name, u"face")) {
            std::size_t index = 0;
            while (index < faces.size() && faces[index] != value) ++index;
            if (index == faces.size()) faces.emplace_back(value);
            style.face = index;
        }
        const std::size_t before = i;
        skipSpace();
        if (i < attributes.size() && i == before) return false;  // attributes run together
    }
    return true;
}

class Parser {
public:
    std::vector<MarkupRun> Parse(std::u16string_view markup) {
        std::size_t i = 0;
        while (i < markup.size()) {
            if (markup[i] == u'<') {
                const std::size_t close = markup.find(u'>', i + 1);
                if (close != std::u16string_view::npos && ApplyTag(markup.substr(i + 1, close - i - 1))) {
                    i = close + 1;
                    continue;
                }
            }
            Append(markup[i]);
            ++i;
        }
        return std::move(runs_);
    }

private:
    bool ApplyTag(std::u16string_view tag) {
        std::size_t nameEnd = 0;
        if (!tag.empty() && tag[0] == u'/') nameEnd = 1;
        while (nameEnd < tag.size() && IsNameChar(tag[nameEnd])) ++nameEnd;
        const std::u16string_view name = tag.substr(0, nameEnd);
        const std::u16string_view rest = tag.substr(nameEnd);
        if (EqualsNoCase(name, u"b") && rest.empty()) { style_.bold = true; return true; }
        if (EqualsNoCase(name, u"/b") && rest.empty()) { style_.bold = false; return true; }
        if (EqualsNoCase(name, u"/font") && rest.empty()) {
            if (!fontStack_.empty()) {
                style_.color = fontStack_.back().color;
                style_.face = fontStack_.back().face;
                fontStack_.pop_back();
            }
            return true;
        }
        if (EqualsNoCase(name, u"font") && (rest.empty() || IsSpace(rest[0]))) {
            Style next = style_;
            if (!ApplyFontAttributes(rest, next, faces_)) return false;
            fontStack_.push_back(style_);
            style_ = next;
            return true;
        }
        return false;
    }

    void Append(char16_t c) {
        const std::u16string& face = faces_[style_.face];
        if (runs_.empty() || runs_.back().color != style_.color || runs_.back().bold != style_.bold ||
            runs_.back().face != face)
            runs_.push_back(MarkupRun{{}, style_.color, style_.bold, face});
        runs_.back().text.push_back(c);
    }

    std::vector<MarkupRun> runs_;
    std::vector<std::u16string> faces_{std::u16string()};
    std::vector<Style> fontStack_;
    Style style_;
};

}  // namespace

std::vector<MarkupRun> ParseChatMarkup(std::u16string_view markup) { return Parser().Parse(markup); }

}  // namespace practice_room
