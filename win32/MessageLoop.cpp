#include "MessageLoop.h"

#include "AnsiText.h"

void DispatchMessageAfter(MSG& message, const MessageStep& step) {
    if (step && step(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop(const MessageStep& step) {
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) DispatchMessageAfter(message, step);
    if (got < 0) throw MessageQueueFailed();
    return static_cast<int>(message.wParam);
}

void ShowErrorBox(HWND owner, const wchar_t* caption, std::string_view text) noexcept {
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    if (owner && (!IsWindowVisible(owner) || IsIconic(owner))) owner = nullptr;
    constexpr UINT kStyle = MB_OK | MB_ICONERROR | MB_SETFOREGROUND;
    try {
        const std::u16string wide = FromAnsi(text);
        MessageBoxW(owner, reinterpret_cast<const wchar_t*>(wide.c_str()), caption, kStyle);
    } catch (...) {
        MessageBoxW(owner, L"An error occurred.", caption, kStyle);
    }
}
