// The one way a message taken from the thread's queue is dispatched, by the main loop and by a pump
// inside a handler alike.
#pragma once

#include <windows.h>

// Tab, Shift+Tab and the arrow keys move between the controls of whichever top-level window the message
// is for, as in a dialog; Enter and Escape become IDOK and IDCANCEL there.
inline void DispatchWithDialogKeys(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
