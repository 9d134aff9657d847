// What the parts of practice-room.exe share: its windows and their state, the classes they are registered
// under, and the way a failure ends the program.
#pragma once

#include "Gdi.h"
#include "Log.h"
#include "Options.h"
#include "TranscriptLines.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

enum ClassId { kFrame, kChild, kStatic, kTranscript, kCombobox, kIcon, kInput, kImage, kPane, kClassCount };

// The signature classes in the order of the options (--lacking).
inline constexpr ClassId kSignature[] = {kStatic, kTranscript, kCombobox, kIcon, kInput, kImage};

inline constexpr const char* kClassNames[2][kClassCount] = {
    {"AOL Frame25", "AOL Child", "_AOL_Static", "RICHCNTLREADONLY", "_AOL_Combobox", "_AOL_Icon", "RICHCNTL",
     "_AOL_Image", "PracticeRoomPane"},
    {"aOl fRAME25", "aol CHILD", "_aol_STATIC", "RichCntlReadOnly", "_Aol_ComboBox", "_aOL_iCON", "richCntl",
     "_AoL_ImAgE", "PracticeRoomPane"}};

struct Document;

struct InputBox {
    std::string name;
    Document* owner = nullptr;  // null for the stray window
    HWND window = nullptr;
    int ownEdits = 0;           // our own Get/SetWindowText on the box are not logged
};

struct Document {
    std::string caption;
    unsigned classes = 0;  // bit per ClassId among the (grand)children
    bool nested = false;
    bool room = false;
    HWND window = nullptr;
    HWND pane = nullptr;
    HWND children[kClassCount] = {};
    InputBox input;
    KeptLines kept;  // the transcript's lines
};

struct App {
    Options options;
    Log log;
    HINSTANCE instance = nullptr;
    const char* const* classNames = kClassNames[0];
    WNDPROC editProc = nullptr;
    HWND frame = nullptr;
    HWND area = nullptr;
    std::vector<std::unique_ptr<Document>> documents;
    InputBox stray;
    Font uiFont;
    int dpi = 96;              // the system's, read once at start-up
    std::string failure;       // the first, shown once the message loop has ended
    int exitCode = 0;
};

// The one App of the process. It is never destroyed: the windows point into it until the process ends.
extern App* app;

// Logs the failure, ends the message loop and makes the exit code 3.
void Fail(const char* what) noexcept;

// A length of the layout, given at 96 dpi, at the system's dpi.
inline int Scaled(int at96) { return MulDiv(at96, app->dpi, 96); }

// No exception may cross a window procedure: user32 is C. A failed WM_CREATE answers -1, so that the
// window is not made and its creator learns of it; 0 would leave it half-built.
template <class Body>
LRESULT Guarded(UINT message, Body body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        Fail(e.what());
    } catch (...) {
        Fail("unknown failure");
    }
    return message == WM_CREATE ? -1 : 0;
}

// The transcript: the room's lines as a chat room shows them, newest at the bottom, in the system's rich
// edit control registered under name.
void RegisterTranscriptClass(const char* name);
void SetUpTranscript(HWND transcript, Document& room);
void AddLine(Document& room, std::string_view bytes);

// The input box: logs what reaches it; Enter submits its text as a line of its room.
void SubmitLine(InputBox& box);
LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of another signature class: painted and inert, except that the Send icon
// submits the room's input.
WNDPROC DecorationProc(ClassId id);

}  // namespace practice_room
