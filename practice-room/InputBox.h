// The input box of a room (class "RICHCNTL", an EDIT superclass): logs every message that reaches it, and on
// Enter submits its text as a line of its room and empties itself. The stray window (--stray) is one too,
// top-level and of no room.
#pragma once

#include "Context.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace practice_room {

class InputBox {
public:
    // Registers the class under its signature name.
    static void Register(const Context& context);

    // name: the box's source in the log. submitted takes each line the box submits; a box without it is the
    // stray window, whose close ends the practice room as the frame's does.
    InputBox(Context& context, std::string name, std::function<void(const std::string&)> submitted = {});
    InputBox(const InputBox&) = delete;
    InputBox& operator=(const InputBox&) = delete;

    // Creates the box's window; throws std::runtime_error if it cannot.
    void Create(DWORD exStyle, DWORD style, RECT place, HWND parent, int id);
    // nullptr before Create and once the window has gone.
    HWND Window() const { return window_; }
    // Submits the text as a line and empties the box.
    void Submit();
    // Sets the text as if the user had typed it: not logged.
    void Type(const std::wstring& text);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Log(UINT message, WPARAM wParam, LPARAM lParam);

    Context& context_;
    std::string name_;
    std::function<void(const std::string&)> submitted_;
    HWND window_ = nullptr;
    int ownEdits_ = 0;  // our own Get/SetWindowText on the box are not logged
};

}  // namespace practice_room
