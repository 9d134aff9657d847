// A document window of the practice room (class "AOL Child"), a chat room or one that only resembles one:
// the children it has, their layout, and what a room does with a line.
#pragma once

#include "Context.h"
#include "InputBox.h"
#include "Transcript.h"

#include <windows.h>

#include <string>

namespace practice_room {

class Frame;

struct DocumentPlan {
    std::string caption;
    std::string inputName;  // the input box's source in the log
    unsigned classes = 0;   // a bit per ClassId among the (grand)children
    bool nested = false;    // the children in a pane between them and the window
    bool room = false;      // a chat room: its close closes the practice room
};

class Document {
public:
    // Registers the document's class and its pane's.
    static void Register(const Context& context);

    Document(Context& context, Frame& frame, DocumentPlan plan);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Creates the window in the frame's MDI area, with its children; throws std::runtime_error if it cannot.
    void Create(HWND area, RECT place, DWORD style);
    InputBox& Input() { return input_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void OnSetFocus();
    bool OnClose();
    void OnCommand(int id, int code);
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    Context& context_;
    Frame& frame_;
    const DocumentPlan plan_;
    HWND window_ = nullptr;
    HWND pane_ = nullptr;
    HWND children_[kClassCount] = {};
    InputBox input_;
    Transcript transcript_;
    int depth_ = 0;         // the window procedures of this document on the stack
    bool created_ = false;  // WM_MDICREATE has returned: a window that goes from now on leaves the frame's list
};

}  // namespace practice_room
