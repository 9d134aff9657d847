// The transcript of a room: the system's rich edit control, read-only, under the signature's class name.
// It scrolls, selects, copies and answers WM_GETTEXT itself; each line goes in at the end as RTF, and the
// view stays where the user put it unless it showed the end.
#include "AnsiText.h"
#include "PracticeRoom.h"
#include "RichEditLine.h"

#include <richedit.h>
#include <windowsx.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace practice_room {

namespace {

// Shown in an empty room, for whoever opened it to try the tool.
constexpr wchar_t kEmptyRoomHint[] = L"Start Quenlow and press Send: your line shows here as a chat room shows it.";
enum MenuCommand { kCopy = 1, kSelectAll };

WNDPROC richEditProc = nullptr;
// The rich edit's own window bytes; the room's Document* follows them.
int documentOffset = 0;

Document* RoomOf(HWND transcript) {
    return reinterpret_cast<Document*>(GetWindowLongPtrW(transcript, documentOffset));
}

LRESULT Send(HWND transcript, UINT message, WPARAM wParam, const void* lParam) {
    return SendMessageW(transcript, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

void DrawHint(HWND transcript) {
    const Document* room = RoomOf(transcript);
    if (!room || !room->room || !room->kept.Empty()) return;
    const WindowDc dc(transcript);
    if (!dc.get()) return;
    RECT client;
    GetClientRect(transcript, &client);
    InflateRect(&client, -Scaled(8), -Scaled(8));
    const SelectedObject font(dc.get(), app->uiFont.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc.get(), kEmptyRoomHint, -1, &client, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

// Copy and Select All, at the pointer, or at the top left for the menu key (Shift+F10).
void ShowMenu(HWND transcript, LPARAM at) {
    POINT where{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        where = {0, 0};
        ClientToScreen(transcript, &where);
    }
    const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(CreatePopupMenu(), DestroyMenu);
    if (!menu) throw std::runtime_error("cannot create the transcript's menu");
    CHARRANGE selection{};
    Send(transcript, EM_EXGETSEL, 0, &selection);
    AppendMenuW(menu.get(), MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0), kCopy, L"&Copy");
    AppendMenuW(menu.get(), MF_STRING, kSelectAll, L"Select &All");
    switch (TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, where.x, where.y, 0, transcript, nullptr)) {
    case kCopy: SendMessageW(transcript, WM_COPY, 0, 0); break;
    case kSelectAll: {
        const CHARRANGE all{0, -1};
        Send(transcript, EM_EXSETSEL, 0, &all);
        break;
    }
    }
}

LRESULT CALLBACK TranscriptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(message, [&]() -> LRESULT {
        switch (message) {
        // Arrows and keys for reading; Tab and Enter move on, as in a dialog.
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_CONTEXTMENU: ShowMenu(window, lParam); return 0;
        case WM_PAINT: {
            const LRESULT painted = CallWindowProcW(richEditProc, window, message, wParam, lParam);
            DrawHint(window);
            return painted;
        }
        }
        return CallWindowProcW(richEditProc, window, message, wParam, lParam);
    });
}

}  // namespace

void RegisterTranscriptClass(const char* name) {
    // Kept loaded for the process: the class lives in it.
    if (!LoadLibraryW(L"riched20.dll")) throw std::runtime_error("cannot load the rich edit control (riched20.dll)");
    WNDCLASSEXW richEdit{};
    richEdit.cbSize = sizeof richEdit;
    if (!GetClassInfoExW(nullptr, RICHEDIT_CLASSW, &richEdit)) throw std::runtime_error("no rich edit class");
    richEditProc = richEdit.lpfnWndProc;
    documentOffset = richEdit.cbWndExtra;
    const std::wstring wideName(name, name + std::strlen(name));
    richEdit.lpfnWndProc = TranscriptProc;
    richEdit.cbWndExtra += sizeof(Document*);
    richEdit.hInstance = app->instance;
    richEdit.lpszClassName = wideName.c_str();
    richEdit.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExW(&richEdit)) throw std::runtime_error(std::string("cannot register ") + name);
}

void SetUpTranscript(HWND transcript, Document& room) {
    SetWindowLongPtrW(transcript, documentOffset, reinterpret_cast<LONG_PTR>(&room));
    SetUpTranscriptControl(transcript);
    SendMessageW(transcript, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Scaled(4), Scaled(4)));
}

void AddLine(Document& room, std::string_view bytes) {
    const std::vector<MarkupRun> line = ShownLine(FromAnsi(bytes));
    HWND transcript = room.children[kTranscript];
    if (!transcript || line.empty()) return;
    if (room.kept.Empty()) InvalidateRect(transcript, nullptr, TRUE);  // the hint goes
    AppendLine(transcript, room.kept, line);
}

}  // namespace practice_room
