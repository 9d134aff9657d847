// A desktop on which no chat client runs: every search finds nothing, and nothing is sent anywhere.
#pragma once

#include "WindowManager.h"

class EmptyDesktop final : public tarvix_aol8::WindowManager {
public:
    // Every delivery starts with a top-level search: this counts the button presses.
    int searches = 0;
    tarvix_aol8::WindowHandle FindTopLevel(std::u16string_view) override { return ++searches, 0; }
    tarvix_aol8::WindowHandle FindChild(tarvix_aol8::WindowHandle, std::u16string_view) override { return 0; }
    tarvix_aol8::WindowHandle FirstSibling(tarvix_aol8::WindowHandle) override { return 0; }
    tarvix_aol8::WindowHandle NextSibling(tarvix_aol8::WindowHandle) override { return 0; }
    void YieldToPendingEvents() override {}
    void SetText(tarvix_aol8::WindowHandle, std::u16string_view) override {}
    void SendChar(tarvix_aol8::WindowHandle, char16_t) override {}
};
