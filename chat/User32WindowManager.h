// The window-manager operations of the chat bridge on the real desktop (user32, ANSI entry points).
#pragma once

#include "WindowManager.h"

namespace tarvix_aol8 {

class User32WindowManager final : public WindowManager {
public:
    WindowHandle FindTopLevel(std::u16string_view className) override;
    WindowHandle FindChild(WindowHandle parent, std::u16string_view className) override;
    WindowHandle FirstSibling(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    // Empties the thread's message queue; Tab and the other dialog keys still work in any top-level
    // window. A WM_QUIT taken from the queue is posted again and ends the pump.
    void YieldToPendingEvents() override;
    void SetText(WindowHandle window, std::u16string_view text) override;
    void SendChar(WindowHandle window, char16_t character) override;
};

}  // namespace tarvix_aol8
