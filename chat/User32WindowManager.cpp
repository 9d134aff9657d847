#include "User32WindowManager.h"

#include "AnsiText.h"
#include "DialogKeys.h"

#include <windows.h>

#include <string>

namespace tarvix_aol8 {

namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// A click waiting in the queue runs its delivery inside the yield, and that delivery yields in turn:
// each queued click nests one level deeper, and a burst of them would exhaust the stack. Beyond the
// bound a delivery does not yield; the waiting events run afterwards, in the yield one level down.
// 64 levels of about 1.4 KB leave nearly all of the 2 MiB stack to the deepest handler (a fade, an
// error report), and no one clicks that often during one delivery.
constexpr int kMaxNestedYields = 64;

// Yields active on this thread.
thread_local int nestedYields = 0;

class NestedYield {
public:
    NestedYield() { ++nestedYields; }
    ~NestedYield() { --nestedYields; }
    NestedYield(const NestedYield&) = delete;
    NestedYield& operator=(const NestedYield&) = delete;
};

}  // namespace

WindowHandle User32WindowManager::FindTopLevel(std::u16string_view className) {
    return ToHandle(FindWindowA(ToAnsi(className).c_str(), nullptr));
}

WindowHandle User32WindowManager::FindChild(WindowHandle parent, std::u16string_view className) {
    return ToHandle(FindWindowExA(ToHwnd(parent), nullptr, ToAnsi(className).c_str(), nullptr));
}

WindowHandle User32WindowManager::FirstSibling(WindowHandle window) {
    return ToHandle(GetWindow(ToHwnd(window), GW_HWNDFIRST));
}

WindowHandle User32WindowManager::NextSibling(WindowHandle window) {
    return ToHandle(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

void User32WindowManager::YieldToPendingEvents() {
    if (nestedYields >= kMaxNestedYields) return;
    const NestedYield nested;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The main loop has to see it too, or the program would not end.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWithDialogKeys(msg);
    }
}

void User32WindowManager::SetText(WindowHandle window, std::u16string_view text) {
    const std::string ansi = ToAnsi(text);
    SendMessageA(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void User32WindowManager::SendChar(WindowHandle window, char16_t character) {
    // A character of a double-byte code page arrives as two WM_CHAR messages, lead byte first.
    for (char byte : ToAnsi(std::u16string_view(&character, 1)))
        SendMessageA(ToHwnd(window), WM_CHAR, static_cast<unsigned char>(byte), 0);
}

}  // namespace tarvix_aol8
