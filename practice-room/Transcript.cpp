// The transcript of a room: the system's rich edit control, read-only, under the signature's class name.
// It scrolls, selects, copies and answers WM_GETTEXT itself; each line goes in at the end as RTF, and the
// view stays where the user put it unless it showed the end.
#include "AnsiText.h"
#include "PracticeRoom.h"
#include "RichEditLine.h"
#include "TranscriptLines.h"

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace practice_room {

namespace {

// Shown in an empty room, for whoever opened it to try the tool.
constexpr wchar_t kEmptyRoomHint[] = L"Start Quenlow and press Send: your line shows here as a chat room shows it.";
// Room for all the lines kept, each cut at 2,000 characters; the control's default is 32,767.
constexpr LPARAM kTextLimit = 4 * 1024 * 1024;
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

// Whether the end of the text is in view: no scroll bar, or one at its end.
bool ShowsEnd(HWND transcript) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(transcript, SB_VERT, &info) || info.nPage == 0) return true;
    return info.nPos + static_cast<int>(info.nPage) >= info.nMax;
}

// Every selection the control is given scrolls it to the caret: the view is put back afterwards.
void AppendLine(HWND transcript, Document& room, const std::vector<MarkupRun>& line) {
    const bool follow = ShowsEnd(transcript);
    CHARRANGE selection{};
    Send(transcript, EM_EXGETSEL, 0, &selection);
    // Reading back, the user keeps the view and the selection; else the caret waits at the end.
    const bool keepSelection = !follow || selection.cpMin != selection.cpMax;
    // The character at the top left of the view, and where it stands.
    const POINTL corner{0, 0};
    const auto anchor = static_cast<LONG>(Send(transcript, EM_CHARFROMPOS, 0, &corner));
    POINTL anchorAt{};
    SendMessageW(transcript, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&anchorAt), anchor);

    if (room.kept.Empty()) InvalidateRect(transcript, nullptr, TRUE);  // the hint goes
    InsertLine(transcript, line, !room.kept.Empty());
    const auto dropped = static_cast<LONG>(room.kept.Add(ShownLength(line)));
    if (dropped > 0) {
        const CHARRANGE oldest{0, dropped};
        Send(transcript, EM_EXSETSEL, 0, &oldest);
        Send(transcript, EM_REPLACESEL, FALSE, L"");
    }
    selection = keepSelection ? CHARRANGE{std::max<LONG>(selection.cpMin - dropped, 0),
                                          std::max<LONG>(selection.cpMax - dropped, 0)}
                              : CHARRANGE{-1, -1};
    Send(transcript, EM_EXSETSEL, 0, &selection);

    if (follow) {
        SendMessageW(transcript, WM_VSCROLL, SB_BOTTOM, 0);
        return;
    }
    // The anchor back where it stood; it moved up with the oldest lines when they went.
    POINT view{};
    Send(transcript, EM_GETSCROLLPOS, 0, &view);
    POINTL now{};
    SendMessageW(transcript, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&now), std::max<LONG>(anchor - dropped, 0));
    view.y += now.y - anchorAt.y;
    Send(transcript, EM_SETSCROLLPOS, 0, &view);
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
    SendMessageW(transcript, EM_EXLIMITTEXT, 0, kTextLimit);
    SendMessageW(transcript, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Scaled(4), Scaled(4)));
    // Nothing to undo in a read-only control: the undo stack would only grow with every line.
    SendMessageW(transcript, EM_SETUNDOLIMIT, 0, 0);
}

void AddLine(Document& room, std::string_view bytes) {
    const std::vector<MarkupRun> line = ShownLine(FromAnsi(bytes));
    if (HWND transcript = room.children[kTranscript]; transcript && !line.empty()) AppendLine(transcript, room, line);
}

}  // namespace practice_room
