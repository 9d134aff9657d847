// The tool's step before a message is dispatched, by its main loop and by the chat bridge's pump inside a
// handler alike.
#pragma once

#include "MessageLoop.h"

#include <windows.h>

// Tab, Shift+Tab and the arrow keys move between the controls of whichever top-level window the message
// is for, as in a dialog; Enter and Escape become IDOK and IDCANCEL there. True when the keys took it.
inline bool TakeDialogKeys(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return root && IsDialogMessageW(root, &message);
}

inline void DispatchWithDialogKeys(MSG& message) { DispatchMessageAfter(message, TakeDialogKeys); }
