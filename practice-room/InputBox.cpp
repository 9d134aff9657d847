// The input box of a room (class "RICHCNTL", an EDIT superclass): logs every message that reaches it, and
// on Enter submits its text as a line of its room and empties itself.
#include "PracticeRoom.h"

#include <cstdio>

namespace practice_room {

void SubmitLine(InputBox& box) {
    std::string text;
    ++box.ownEdits;
    try {
        text.resize(static_cast<std::size_t>(GetWindowTextLengthA(box.window)) + 1);
        text.resize(static_cast<std::size_t>(GetWindowTextA(box.window, text.data(), static_cast<int>(text.size()))));
        SetWindowTextA(box.window, "");
    } catch (...) {
        --box.ownEdits;
        throw;
    }
    --box.ownEdits;
    app->log.Write({box.name, "line", text}, true);
    if (box.owner) AddLine(*box.owner, text);
}

namespace {

void LogInputMessage(const InputBox& box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        if (lParam)
            app->log.Write({box.name, "settext", reinterpret_cast<const char*>(lParam)}, true);
        else
            app->log.Write({box.name, "settext", "null"}, false);
    } else if (message == WM_CHAR) {
        app->log.Write({box.name, "char", std::to_string(wParam)}, false);
    } else if (InSendMessageEx(nullptr) != ISMEX_NOSEND) {
        char text[64];
        std::snprintf(text, sizeof text, "0x%04X 0x%llX 0x%llX", message, static_cast<unsigned long long>(wParam),
                      static_cast<unsigned long long>(lParam));
        app->log.Write({box.name, "msg", text}, false);
    }
}

}  // namespace

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(message, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* created = reinterpret_cast<InputBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            created->window = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* box = reinterpret_cast<InputBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_GETDLGCODE) {
            // Enter submits the line: the dialog keys leave it to the box.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code = CallWindowProcA(app->editProc, window, message, wParam, lParam);
            return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
        }
        if (box && box->ownEdits == 0) {
            LogInputMessage(*box, message, wParam, lParam);
            if (message == WM_CHAR && wParam == '\r') {
                SubmitLine(*box);
                return 0;
            }
        }
        if (message == WM_CLOSE && box == &app->stray) {
            PostQuitMessage(0);  // as for the frame
            return 0;
        }
        if (message == WM_NCDESTROY && box) {
            box->window = nullptr;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        return CallWindowProcA(app->editProc, window, message, wParam, lParam);
    });
}

}  // namespace practice_room
