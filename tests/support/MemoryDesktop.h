// A desktop held in memory for the chat bridge's and the window's tests: a window tree in z-order, a log of
// the messages the bridge sends, and a hook on each yield to change the desktop at exactly that moment.
#pragma once

#include "Printable.h"
#include "WindowManager.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace tarvix_aol8 {

// Window 0 is the root, whose children are the top-level windows. Class names match without regard to
// ASCII case. Handles are never reused: a destroyed window stays gone, as another program's would.
class MemoryDesktop final : public WindowManager {
public:
    // Creates a window behind its existing siblings.
    WindowHandle Create(WindowHandle parent, std::u16string_view className) {
        windows_.push_back({std::u16string(className), parent});
        windows_.at(parent).children.push_back(windows_.size() - 1);
        return windows_.size() - 1;
    }
    void Destroy(WindowHandle window) {
        std::erase(Siblings(window), window);
        windows_.at(window).alive = false;
    }
    void Raise(WindowHandle window) {
        std::erase(Siblings(window), window);
        Siblings(window).insert(Siblings(window).begin(), window);
    }
    // Called on every yield, nested ones included, with the number of yields so far.
    void OnYield(std::function<void(int)> hook) { onYield_ = std::move(hook); }

    // Every message sent, to whichever window, in order: "settext 9 \"text\"", "char 9 13".
    const std::vector<std::string>& Sent() const { return sent_; }

    // Every delivery starts with a top-level search: this counts them.
    int searches = 0;

    WindowHandle FindTopLevel(std::u16string_view className) override { return ++searches, FindChild(0, className); }
    WindowHandle FindChild(WindowHandle parent, std::u16string_view className) override {
        if (!windows_.at(parent).alive) return 0;
        const auto sameLetter = [](char16_t a, char16_t b) { return Fold(a) == Fold(b); };
        for (WindowHandle child : windows_[parent].children)
            if (std::ranges::equal(windows_[child].className, className, sameLetter)) return child;
        return 0;
    }
    WindowHandle FirstSibling(WindowHandle window) override { return Alive(window) ? Siblings(window).front() : 0; }
    WindowHandle NextSibling(WindowHandle window) override {
        if (!Alive(window)) return 0;
        const auto next = std::ranges::find(Siblings(window), window) + 1;
        return next == Siblings(window).end() ? 0 : *next;
    }
    void YieldToPendingEvents() override {
        // A copy, so that the hook may replace itself or run a nested delivery that yields again.
        if (std::function<void(int)> hook = onYield_) hook(++yields_);
    }
    void SetText(WindowHandle window, std::u16string_view text) override {
        Record("settext", window, '"' + Printable(text) + '"');
    }
    void SendChar(WindowHandle window, char16_t c) override { Record("char", window, std::to_string(c)); }

private:
    struct Window {
        std::u16string className;
        WindowHandle parent = 0;
        std::vector<WindowHandle> children = {};  // front to back
        bool alive = true;
    };
    static char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }
    bool Alive(WindowHandle window) const { return window != 0 && windows_.at(window).alive; }
    std::vector<WindowHandle>& Siblings(WindowHandle window) {
        return windows_.at(windows_.at(window).parent).children;
    }
    void Record(const char* kind, WindowHandle window, const std::string& detail) {
        sent_.push_back(kind + (" " + std::to_string(window)) + " " + detail);
    }

    std::vector<Window> windows_{Window{}};
    std::vector<std::string> sent_;
    std::function<void(int)> onYield_;
    int yields_ = 0;
};

}  // namespace tarvix_aol8
