#include "ChatMarkup.h"

#include "HexDigit.h"

#include <optional>
#include <unordered_map>

namespace practice_room {

namespace {

// What the system's font lookup reads of a face name (LF_FACESIZE - 1): faces alike that far are one.
constexpr std::size_t kFaceLength = 31;

// What a <font> tag may change, and its </font> gives back.
struct FontStyle {
    std::uint32_t color = 0;
    int size = 2;
    std::optional<std::uint32_t> back;
    std::size_t face = 0;  // index into the faces seen; 0 is the default

    bool operator==(const FontStyle&) const = default;
};

struct Style {
    FontStyle font;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;

    bool operator==(const Style&) const = default;
};

// Tags that switch one property on, and off with their end tag.
struct FlagTag {
    std::u16string_view name;
    bool Style::*flag;
};
constexpr FlagTag kFlagTags[] = {
    {u"b", &Style::bold}, {u"i", &Style::italic}, {u"u", &Style::underline}, {u"s", &Style::strike}};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsNoCase(std::u16string_view a, std::u16string_view lowerB) {
    if (a.size() != lowerB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != lowerB[i]) return false;
    return true;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsNameChar(char16_t c) { c = Lower(c); return (c >= u'a' && c <= u'z') || c == u'-'; }

std::optional<int> ParseSize(std::u16string_view value) {
    if (value.size() != 1 || value[0] < u'1' || value[0] > u'7') return std::nullopt;
    return value[0] - u'0';
}

std::optional<std::uint32_t> ParseColor(std::u16string_view value) {
    if (!value.empty() && value.front() == u'#') value.remove_prefix(1);
    if (value.size() != 6) return std::nullopt;
    std::uint32_t color = 0;
    for (char16_t c : value) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        color = color * 16 + static_cast<std::uint32_t>(digit);
    }
    return color;
}

// Each distinct face once, found by its hash: a line may name thousands.
class Faces {
public:
    std::size_t IndexOf(std::u16string_view face) {
        const auto [entry, added] = index_.try_emplace(std::u16string(face.substr(0, kFaceLength)), names_.size());
        if (added) names_.push_back(entry->first);
        return entry->second;
    }
    const std::u16string& Name(std::size_t index) const { return names_[index]; }

private:
    std::unordered_map<std::u16string, std::size_t> index_{{u"", 0}};
    std::vector<std::u16string> names_{u""};
};

// Applies the attributes of a font tag (the text after "font") to style; false if not understood.
bool ApplyFontAttributes(std::u16string_view attributes, FontStyle& style, Faces& faces) {
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
        if (EqualsNoCase(name, u"color") || EqualsNoCase(name, u"back")) {
            const auto color = ParseColor(value);
            if (!color) return false;
            if (EqualsNoCase(name, u"color")) style.color = *color;
            else style.back = *color;
        } else if (EqualsNoCase(name, u"size")) {
            const auto size = ParseSize(value);
            if (!size) return false;
            style.size = *size;
        } else if (EqualsNoCase(name, u"face")) {
            style.face = faces.IndexOf(value);
        }
        const std::size_t before = i;
        skipSpace();
        if (i < attributes.size() && i == before) return false;  // attributes run together
    }
    return true;
}

class Parser {
public:
    explicit Parser(std::size_t maxCharacters) : left_(maxCharacters) {}

    std::vector<MarkupRun> Parse(std::u16string_view markup) {
        std::size_t i = 0;
        while (i < markup.size() && left_ > 0) {
            if (markup[i] == u'<') {
                // A tag holds no '<': the search for its end stops at the next one, so that no character is
                // searched over twice, whatever the line holds.
                std::size_t close = i + 1;
                while (close < markup.size() && markup[close] != u'<' && markup[close] != u'>') ++close;
                if (close < markup.size() && markup[close] == u'>' && ApplyTag(markup.substr(i + 1, close - i - 1))) {
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
        if (rest.empty()) {
            const bool end = name.starts_with(u'/');
            for (const FlagTag& flagTag : kFlagTags) {
                if (!EqualsNoCase(name.substr(end ? 1 : 0), flagTag.name)) continue;
                style_.*flagTag.flag = !end;
                return true;
            }
            if (EqualsNoCase(name, u"/font")) {
                if (!fontStack_.empty()) {
                    style_.font = fontStack_.back();
                    fontStack_.pop_back();
                }
                return true;
            }
        }
        if (EqualsNoCase(name, u"font") && (rest.empty() || IsSpace(rest[0]))) {
            FontStyle next = style_.font;
            if (!ApplyFontAttributes(rest, next, faces_)) return false;
            fontStack_.push_back(style_.font);
            style_.font = next;
            return true;
        }
        return false;
    }

    void Append(char16_t c) {
        if (runs_.empty() || runStyle_ != style_) {
            const FontStyle& font = style_.font;
            runs_.push_back(MarkupRun{{}, font.color, style_.bold, style_.italic, style_.underline, style_.strike,
                                      font.size, font.back, faces_.Name(font.face)});
            runStyle_ = style_;
        }
        runs_.back().text.push_back(c);
        --left_;
    }

    std::size_t left_;
    std::vector<MarkupRun> runs_;
    Style runStyle_;  // of the last run
    Faces faces_;
    std::vector<FontStyle> fontStack_;
    Style style_;
};

}  // namespace

std::vector<MarkupRun> ParseChatMarkup(std::u16string_view markup, std::size_t maxCharacters) {
    return Parser(maxCharacters).Parse(markup);
}

}  // namespace practice_room
