// The transcript of a room: the system's rich edit control, read-only, under the signature's class name
// "RICHCNTLREADONLY". It scrolls, selects, copies and answers WM_GETTEXT itself; each line goes in at the end
// as RTF, and the view stays where the user put it unless it showed the end.
#pragma once

#include "Context.h"
#include "TranscriptLines.h"

#include <windows.h>

#include <string_view>

namespace practice_room {

class Transcript {
public:
    // Loads the rich edit control and registers the class; throws std::runtime_error.
    static void Register(const Context& context);

    // showsHint: while empty it tells whoever opened the room how to try the tool.
    Transcript(Context& context, bool showsHint) : context_(context), showsHint_(showsHint) {}
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    // Creates the control; throws std::runtime_error if it cannot.
    void Create(DWORD style, HWND parent, int id);
    HWND Window() const { return window_; }
    // A submitted line (ANSI bytes), as a chat room shows it.
    void Add(std::string_view bytes);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void DrawHint();
    void ShowMenu(LPARAM at);

    Context& context_;
    bool showsHint_;
    HWND window_ = nullptr;
    KeptLines kept_;
};

}  // namespace practice_room
