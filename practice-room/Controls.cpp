#include "Controls.h"

#include "TranscriptLines.h"

#include <stdexcept>

namespace practice_room {

namespace {

WNDPROC buttonProc = nullptr;

// Send is a push button in a window that is not a dialog: the dialog manager would turn Enter on it into
// IDOK for its parent, so Send takes Enter itself and clicks as a dialog's default button would.
LRESULT CALLBACK SendProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = CallWindowProcA(buttonProc, window, message, wParam, lParam);
        return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        SendMessageA(window, BM_CLICK, 0, 0);
        return 0;
    }
    return CallWindowProcA(buttonProc, window, message, wParam, lParam);
}

}  // namespace

void RegisterControlClasses(const Context& context) {
    const ClassNames names = context.classNames;
    buttonProc = RegisterSuperclass(context.instance, "BUTTON", names[kIcon], SendProc);
    RegisterSuperclass(context.instance, "COMBOBOX", names[kCombobox], nullptr);
    RegisterSuperclass(context.instance, "STATIC", names[kStatic], nullptr);
    RegisterSuperclass(context.instance, "STATIC", names[kImage], nullptr);
}

DWORD ControlStyle(ClassId id) {
    switch (id) {
    case kStatic: return SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_ENDELLIPSIS | SS_NOPREFIX;
    case kCombobox: return WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
    case kIcon: return WS_TABSTOP | BS_PUSHBUTTON;
    case kImage: return SS_OWNERDRAW;
    default: return 0;
    }
}

void FillPeopleList(HWND list) {
    if (SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kGuestName)) < 0)
        throw std::runtime_error("cannot fill the people list");
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

void DrawEmblem(const DRAWITEMSTRUCT& item, const Context& context) {
    const HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    // The DC brush takes any colour and is never created: nothing to fail, nothing to free.
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    const SelectedObject selected(dc, brush);
    SetDCBrushColor(dc, RGB(0, 51, 153));
    FillRect(dc, &rc, brush);
    SetDCBrushColor(dc, RGB(255, 204, 0));
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const int size = (height < width ? height : width) - context.Scaled(12);
    const int cx = rc.left + width / 2, cy = rc.top + height / 2;
    const POINT triangle[] = {{cx, cy - size / 2}, {cx + size / 2, cy + size / 2}, {cx - size / 2, cy + size / 2}};
    Polygon(dc, triangle, 3);
}

}  // namespace practice_room
