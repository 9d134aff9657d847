#include "InputBox.h"

#include <cstdio>
#include <stdexcept>

namespace practice_room {

namespace {

WNDPROC editProc = nullptr;

// Our own edits are not the box's traffic: not logged, however they end.
class OwnEdit {
public:
    explicit OwnEdit(int& count) : count_(count) { ++count_; }
    OwnEdit(const OwnEdit&) = delete;
    OwnEdit& operator=(const OwnEdit&) = delete;
    ~OwnEdit() { --count_; }

private:
    int& count_;
};

}  // namespace

void InputBox::Register(const Context& context) {
    editProc = RegisterSuperclass(context.instance, "EDIT", context.classNames[kInput], WindowProc);
}

InputBox::InputBox(Context& context, std::string name, std::function<void(const std::string&)> submitted)
    : context_(context), name_(std::move(name)), submitted_(std::move(submitted)) {}

void InputBox::Create(DWORD exStyle, DWORD style, RECT place, HWND parent, int id) {
    // WM_NCCREATE stores window_.
    if (!CreateWindowExA(exStyle, context_.classNames[kInput], "", style, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), context_.instance, this))
        throw std::runtime_error(parent ? "cannot create a child window" : "cannot create the stray window");
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.font.get()), parent ? FALSE : TRUE);
    SendMessageA(window_, EM_SETLIMITTEXT, 0, 0);
}

void InputBox::Submit() {
    std::string text;
    {
        const OwnEdit own(ownEdits_);
        text.resize(static_cast<std::size_t>(GetWindowTextLengthA(window_)) + 1);
        text.resize(static_cast<std::size_t>(GetWindowTextA(window_, text.data(), static_cast<int>(text.size()))));
        SetWindowTextA(window_, "");
    }
    context_.log.Write({name_, "line", text}, true);
    if (submitted_) submitted_(text);
}

void InputBox::Type(const std::wstring& text) {
    if (!window_) return;
    const OwnEdit own(ownEdits_);
    SetWindowTextW(window_, text.c_str());
}

void InputBox::Log(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        if (lParam)
            context_.log.Write({name_, "settext", reinterpret_cast<const char*>(lParam)}, true);
        else
            context_.log.Write({name_, "settext", "null"}, false);
    } else if (message == WM_CHAR) {
        context_.log.Write({name_, "char", std::to_string(wParam)}, false);
    } else if (InSendMessageEx(nullptr) != ISMEX_NOSEND) {
        char text[64];
        std::snprintf(text, sizeof text, "0x%04X 0x%llX 0x%llX", message, static_cast<unsigned long long>(wParam),
                      static_cast<unsigned long long>(lParam));
        context_.log.Write({name_, "msg", text}, false);
    }
}

LRESULT CALLBACK InputBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<InputBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<InputBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return CallWindowProcA(editProc, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return CallWindowProcA(editProc, window, message, wParam, lParam);
    }
    return Guarded(self->context_, message, [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT InputBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        // Enter submits the line: the dialog keys leave it to the box.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = CallWindowProcA(editProc, window_, message, wParam, lParam);
        return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
    }
    if (ownEdits_ == 0) {
        Log(message, wParam, lParam);
        if (message == WM_CHAR && wParam == '\r') {
            Submit();
            return 0;
        }
    }
    if (message == WM_CLOSE && !submitted_) {
        PostQuitMessage(0);  // as for the frame
        return 0;
    }
    return CallWindowProcA(editProc, window_, message, wParam, lParam);
}

}  // namespace practice_room
