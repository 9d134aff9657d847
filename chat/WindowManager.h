// The window-manager operations that the chat bridge needs, so that it runs against the real
// desktop (user32) or an in-memory one (tests).
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvix_aol8 {

// Opaque window identifier; 0 is no window.
using WindowHandle = std::uintptr_t;

class WindowManager {
public:
    virtual ~WindowManager() = default;

    // A top-level window of this class (compared without regard to case), or 0.
    virtual WindowHandle FindTopLevel(std::u16string_view className) = 0;
    // The first direct child of parent in z-order with this class; parent 0 searches the top-level windows.
    virtual WindowHandle FindChild(WindowHandle parent, std::u16string_view className) = 0;
    // The front-most sibling of window (possibly window itself), or 0.
    virtual WindowHandle FirstSibling(WindowHandle window) = 0;
    // The sibling just behind window in z-order, or 0.
    virtual WindowHandle NextSibling(WindowHandle window) = 0;
    // Processes the events pending for the program's own window thread, then returns.
    virtual void YieldToPendingEvents() = 0;
    // Replaces the window's whole text; returns once the window has handled it.
    virtual void SetText(WindowHandle window, std::u16string_view text) = 0;
    // Sends one character to the window; returns once the window has handled it.
    virtual void SendChar(WindowHandle window, char16_t character) = 0;
};

}  // namespace tarvix_aol8
