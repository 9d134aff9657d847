// Chat-client bridge: finds the chat room of the running chat client and types a line into it.
#pragma once

#include "WindowManager.h"

#include <string_view>

namespace tarvix_aol8 {

// The front-most document window of the chat client that carries the chat-room signature, or 0.
WindowHandle LocateChatRoom(WindowManager& desktop);

// Replaces the whole text of window (an empty text first, then text).
void SetInputText(WindowManager& desktop, WindowHandle window, std::u16string_view text);

// Types line into the room's input box and presses Enter there; sends nothing when no room is open.
void DeliverChatLine(WindowManager& desktop, std::u16string_view line);

}  // namespace tarvix_aol8
