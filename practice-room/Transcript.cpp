#include "Transcript.h"

#include "AnsiText.h"
#include "RichEditLine.h"

#include <richedit.h>
#include <windowsx.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace practice_room {

namespace {

// Shown in an empty room, for whoever opened it to try the tool.
constexpr wchar_t kEmptyRoomHint[] = L"Start Quenlow and press Send: your line shows here as a chat room shows it.";
enum MenuCommand { kCopy = 1, kSelectAll };

WNDPROC richEditProc = nullptr;
// The rich edit's own window bytes; the Transcript* follows them.
int selfOffset = 0;

LRESULT Send(HWND transcript, UINT message, WPARAM wParam, const void* lParam) {
    return SendMessageW(transcript, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

}  // namespace

void Transcript::Register(const Context& context) {
    // Kept loaded for the process: the class lives in it.
    if (!LoadLibraryW(L"riched20.dll")) throw std::runtime_error("cannot load the rich edit control (riched20.dll)");
    WNDCLASSEXW richEdit{};
    richEdit.cbSize = sizeof richEdit;
    if (!GetClassInfoExW(nullptr, RICHEDIT_CLASSW, &richEdit)) throw std::runtime_error("no rich edit class");
    const char* name = context.classNames[kTranscript];
    richEditProc = richEdit.lpfnWndProc;
    selfOffset = richEdit.cbWndExtra;
    const std::wstring wideName(name, name + std::strlen(name));
    richEdit.lpfnWndProc = WindowProc;
    richEdit.cbWndExtra += sizeof(Transcript*);
    richEdit.hInstance = context.instance;
    richEdit.lpszClassName = wideName.c_str();
    richEdit.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExW(&richEdit)) throw std::runtime_error(std::string("cannot register ") + name);
}

void Transcript::Create(DWORD style, HWND parent, int id) {
    const char* name = context_.classNames[kTranscript];
    const std::wstring wideName(name, name + std::strlen(name));
    // WM_NCCREATE stores window_.
    if (!CreateWindowExW(WS_EX_CLIENTEDGE, wideName.c_str(), L"", style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), context_.instance, this))
        throw std::runtime_error("cannot create a child window");
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.font.get()), FALSE);
    SetUpTranscriptControl(window_);
    SendMessageW(window_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(context_.Scaled(4), context_.Scaled(4)));
}

void Transcript::Add(std::string_view bytes) {
    const std::vector<MarkupRun> line = ShownLine(FromAnsi(bytes));
    if (!window_ || line.empty()) return;
    if (kept_.Empty()) InvalidateRect(window_, nullptr, TRUE);  // the hint goes
    AppendLine(window_, kept_, line);
}

void Transcript::DrawHint() {
    if (!showsHint_ || !kept_.Empty()) return;
    const WindowDc dc(window_);
    if (!dc.get()) return;
    RECT client;
    GetClientRect(window_, &client);
    InflateRect(&client, -context_.Scaled(8), -context_.Scaled(8));
    const SelectedObject font(dc.get(), context_.font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc.get(), kEmptyRoomHint, -1, &client, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

// Copy and Select All, at the pointer, or at the top left for the menu key (Shift+F10).
void Transcript::ShowMenu(LPARAM at) {
    POINT where{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        where = {0, 0};
        ClientToScreen(window_, &where);
    }
    const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(CreatePopupMenu(), DestroyMenu);
    if (!menu) throw std::runtime_error("cannot create the transcript's menu");
    CHARRANGE selection{};
    Send(window_, EM_EXGETSEL, 0, &selection);
    AppendMenuW(menu.get(), MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0), kCopy, L"&Copy");
    AppendMenuW(menu.get(), MF_STRING, kSelectAll, L"Select &All");
    switch (TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, where.x, where.y, 0, window_, nullptr)) {
    case kCopy: SendMessageW(window_, WM_COPY, 0, 0); break;
    case kSelectAll: {
        const CHARRANGE all{0, -1};
        Send(window_, EM_EXSETSEL, 0, &all);
        break;
    }
    }
}

LRESULT CALLBACK Transcript::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Transcript*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, selfOffset, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Transcript*>(GetWindowLongPtrW(window, selfOffset));
    if (!self) return CallWindowProcW(richEditProc, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, selfOffset, 0);
        self->window_ = nullptr;
        return CallWindowProcW(richEditProc, window, message, wParam, lParam);
    }
    return Guarded(self->context_, message, [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT Transcript::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    // Arrows and keys for reading; Tab and Enter move on, as in a dialog.
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CONTEXTMENU: ShowMenu(lParam); return 0;
    case WM_PAINT: {
        const LRESULT painted = CallWindowProcW(richEditProc, window_, message, wParam, lParam);
        DrawHint();
        return painted;
    }
    }
    return CallWindowProcW(richEditProc, window_, message, wParam, lParam);
}

}  // namespace practice_room
