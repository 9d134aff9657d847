#include "MemoryDesktop.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tarvix_aol8 {
namespace {

// Handles look like real ones and are never small numbers that a test could confuse with indices.
constexpr WindowHandle kFirstHandle = 0x10010;
constexpr WindowHandle kHandleStep = 0x10;

char16_t FoldAsciiCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool SameClass(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

std::string Hex(WindowHandle value) {
    char buffer[2 + 2 * sizeof value + 1];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
    return buffer;
}

}  // namespace

ReceivedMessage SetTextMessage(std::u16string_view text) {
    return {ReceivedMessage::Kind::SetText, std::u16string(text), 0};
}

ReceivedMessage CharMessage(char16_t code) { return {ReceivedMessage::Kind::Char, {}, code}; }

std::string Printable(std::u16string_view text) {
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (char16_t c : text.substr(0, kShown)) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(c));
            out += escape;
        }
    }
    out += '"';
    if (text.size() > kShown) out += "... (" + std::to_string(text.size()) + " chars)";
    return out;
}

std::string Describe(const ReceivedMessage& message) {
    if (message.kind == ReceivedMessage::Kind::Char) return "SendChar " + std::to_string(unsigned(message.code));
    return "SetText " + Printable(message.text);
}

std::string Describe(const ClassSearch& search) {
    return "FindChild(" + (search.parent == 0 ? std::string("top level") : Hex(search.parent)) + ", " +
           Printable(search.className) + ")";
}

const MemoryDesktop::Window* MemoryDesktop::Lookup(WindowHandle window) const {
    if (window < kFirstHandle || (window - kFirstHandle) % kHandleStep != 0) return nullptr;
    const std::size_t index = (window - kFirstHandle) / kHandleStep;
    return index < windows_.size() ? &windows_[index] : nullptr;
}

const MemoryDesktop::Window& MemoryDesktop::Known(WindowHandle window) const {
    const Window* found = Lookup(window);
    if (!found) throw std::invalid_argument("no such window: " + Hex(window));
    return *found;
}

MemoryDesktop::Window* MemoryDesktop::LiveOrNull(WindowHandle window) {
    const Window* found = Lookup(window);
    return found && found->alive ? const_cast<Window*>(found) : nullptr;
}

MemoryDesktop::Window& MemoryDesktop::Live(WindowHandle window) {
    Window* found = LiveOrNull(window);
    if (!found) throw std::invalid_argument("no live window: " + Hex(window));
    return *found;
}

std::vector<WindowHandle>& MemoryDesktop::SiblingsOf(const Window& window) {
    return window.parent == 0 ? topLevel_ : Live(window.parent).children;
}

WindowHandle MemoryDesktop::Create(WindowHandle parent, std::u16string_view className) {
    if (parent != 0) Live(parent);
    const WindowHandle handle = kFirstHandle + windows_.size() * kHandleStep;
    windows_.push_back({std::u16string(className), parent, {}, {}, {}, true});
    SiblingsOf(windows_.back()).push_back(handle);
    return handle;
}

void MemoryDesktop::MarkDestroyed(WindowHandle window) {
    Window& w = Live(window);
    w.alive = false;
    for (WindowHandle child : w.children) MarkDestroyed(child);
}

void MemoryDesktop::Destroy(WindowHandle window) {
    std::erase(SiblingsOf(Live(window)), window);
    MarkDestroyed(window);
}

void MemoryDesktop::Raise(WindowHandle window) {
    std::vector<WindowHandle>& siblings = SiblingsOf(Live(window));
    std::erase(siblings, window);
    siblings.insert(siblings.begin(), window);
}

void MemoryDesktop::Type(WindowHandle window, std::u16string_view text) { Live(window).text = text; }

bool MemoryDesktop::Exists(WindowHandle window) const {
    const Window* found = Lookup(window);
    return found && found->alive;
}

const std::u16string& MemoryDesktop::Text(WindowHandle window) const { return Known(window).text; }

const std::vector<ReceivedMessage>& MemoryDesktop::Received(WindowHandle window) const {
    return Known(window).received;
}

WindowHandle MemoryDesktop::FindTopLevel(std::u16string_view className) { return FindChild(0, className); }

WindowHandle MemoryDesktop::FindChild(WindowHandle parent, std::u16string_view className) {
    searches_.push_back({parent, std::u16string(className)});
    const std::vector<WindowHandle>* children = &topLevel_;
    if (parent != 0) {
        const Window* p = LiveOrNull(parent);
        if (!p) return 0;
        children = &p->children;
    }
    for (WindowHandle child : *children) {
        if (SameClass(Lookup(child)->className, className)) return child;
    }
    return 0;
}

WindowHandle MemoryDesktop::FirstSibling(WindowHandle window) {
    const Window* w = LiveOrNull(window);
    return w ? SiblingsOf(*w).front() : 0;
}

WindowHandle MemoryDesktop::NextSibling(WindowHandle window) {
    const Window* w = LiveOrNull(window);
    if (!w) return 0;
    const std::vector<WindowHandle>& siblings = SiblingsOf(*w);
    const auto at = std::ranges::find(siblings, window);
    return at + 1 == siblings.end() ? 0 : *(at + 1);
}

void MemoryDesktop::YieldToPendingEvents() {
    ++yields_;
    // A copy, so that the hook may replace itself or run a nested delivery that yields again.
    if (std::function<void()> hook = onYield_) hook();
}

void MemoryDesktop::SetText(WindowHandle window, std::u16string_view text) {
    ++messagesSent_;
    if (Window* w = LiveOrNull(window)) {
        w->received.push_back(SetTextMessage(text));
        w->text = text;
    }
}

void MemoryDesktop::SendChar(WindowHandle window, char16_t character) {
    ++messagesSent_;
    if (Window* w = LiveOrNull(window)) w->received.push_back(CharMessage(character));
}

}  // namespace tarvix_aol8
