// The room's other signature classes: a caption, a list box, the Send icon and an emblem, painted and
// inert, except that the Send icon is a push button that submits the room's input.
#include "PracticeRoom.h"

#include <windowsx.h>

namespace practice_room {

namespace {

// The Send icon's GWLP_USERDATA: non-zero while it shows pushed.
bool Pushed(HWND icon) { return GetWindowLongPtrA(icon, GWLP_USERDATA) != 0; }

void PaintDecoration(HWND window, ClassId id) {
    const PaintDc paint(window);
    const HDC dc = paint.get();
    if (!dc) return;
    RECT rc;
    GetClientRect(window, &rc);
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    const SelectedObject font(dc, app->uiFont.get());
    SetBkMode(dc, TRANSPARENT);
    switch (id) {
    case kStatic:
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        rc.left += Scaled(2);
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    case kCombobox: {
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        RECT arrow{rc.right - 2 - (rc.bottom - 4), rc.top + 2, rc.right - 2, rc.bottom - 2};
        DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLDOWN);
        RECT label{rc.left + Scaled(4), rc.top, arrow.left, rc.bottom};
        DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    }
    case kIcon:
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (Pushed(window) ? DFCS_PUSHED : 0));
        if (Pushed(window)) OffsetRect(&rc, 1, 1);
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        if (GetFocus() == window) {
            InflateRect(&rc, -Scaled(3), -Scaled(3));
            DrawFocusRect(dc, &rc);
        }
        break;
    default: {  // kImage: a small emblem
        // The DC brush takes any colour and is never created: nothing to fail, nothing to free.
        const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
        const SelectedObject selected(dc, brush);
        SetDCBrushColor(dc, RGB(0, 51, 153));
        FillRect(dc, &rc, brush);
        SetDCBrushColor(dc, RGB(255, 204, 0));
        const int size = (rc.bottom < rc.right ? rc.bottom : rc.right) - Scaled(12);
        const int cx = rc.right / 2, cy = rc.bottom / 2;
        const POINT triangle[] = {{cx, cy - size / 2}, {cx + size / 2, cy + size / 2}, {cx - size / 2, cy + size / 2}};
        Polygon(dc, triangle, 3);
        break;
    }
    }
}

// The Send icon acts as a push button: a press on it captures the mouse, and only a release over it
// submits, so that a drag that merely ends on it submits nothing. With the focus, Space (on its release)
// and Enter press it.
void ShowPushed(HWND icon, bool pushed) {
    if (Pushed(icon) == pushed) return;
    SetWindowLongPtrA(icon, GWLP_USERDATA, pushed);
    InvalidateRect(icon, nullptr, FALSE);
}

bool IsOver(HWND icon, LPARAM lParam) {
    RECT rc;
    GetClientRect(icon, &rc);
    return PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void Submit(HWND icon) {
    HWND input = FindWindowExA(GetParent(icon), nullptr, app->classNames[kInput], nullptr);
    if (auto* box = input ? reinterpret_cast<InputBox*>(GetWindowLongPtrA(input, GWLP_USERDATA)) : nullptr)
        SubmitLine(*box);
}

void OnSendDown(HWND icon) {
    SetCapture(icon);
    ShowPushed(icon, true);
}

void OnSendMove(HWND icon, LPARAM lParam) {
    if (GetCapture() == icon) ShowPushed(icon, IsOver(icon, lParam));
}

void OnSendUp(HWND icon, LPARAM lParam) {
    if (GetCapture() != icon) return;  // pressed elsewhere
    const bool over = IsOver(icon, lParam);
    ReleaseCapture();
    if (over) Submit(icon);
}

LRESULT OnSendDialogCode(const MSG* key) {
    const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON | (enter ? DLGC_WANTMESSAGE : 0);
}

void OnSendKeyDown(HWND icon, WPARAM key, LPARAM flags) {
    const bool repeated = (flags & (1 << 30)) != 0;
    if (key == VK_SPACE && !repeated && GetCapture() != icon) ShowPushed(icon, true);
    if (key == VK_RETURN) Submit(icon);
}

void OnSendKeyUp(HWND icon, WPARAM key) {
    if (key != VK_SPACE || !Pushed(icon) || GetCapture() == icon) return;
    ShowPushed(icon, false);
    Submit(icon);
}

void OnSendFocus(HWND icon, bool focused) {
    if (!focused && GetCapture() != icon) ShowPushed(icon, false);
    InvalidateRect(icon, nullptr, FALSE);
}

template <ClassId id>
LRESULT CALLBACK DecorationProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(message, [&]() -> LRESULT {
        switch (message) {
        case WM_PAINT: PaintDecoration(window, id); return 0;
        case WM_SETTEXT: InvalidateRect(window, nullptr, TRUE); break;
        }
        if constexpr (id == kIcon) {
            switch (message) {
            case WM_LBUTTONDOWN: OnSendDown(window); return 0;
            case WM_MOUSEMOVE: OnSendMove(window, lParam); return 0;
            case WM_LBUTTONUP: OnSendUp(window, lParam); return 0;
            case WM_CAPTURECHANGED: ShowPushed(window, false); return 0;
            case WM_GETDLGCODE: return OnSendDialogCode(reinterpret_cast<const MSG*>(lParam));
            case WM_KEYDOWN: OnSendKeyDown(window, wParam, lParam); return 0;
            case WM_KEYUP: OnSendKeyUp(window, wParam); return 0;
            case WM_SETFOCUS: OnSendFocus(window, true); return 0;
            case WM_KILLFOCUS: OnSendFocus(window, false); return 0;
            }
        }
        return DefWindowProcA(window, message, wParam, lParam);
    });
}

}  // namespace

WNDPROC DecorationProc(ClassId id) {
    switch (id) {
    case kStatic: return DecorationProcOf<kStatic>;
    case kCombobox: return DecorationProcOf<kCombobox>;
    case kIcon: return DecorationProcOf<kIcon>;
    case kImage: return DecorationProcOf<kImage>;
    default: return DefWindowProcA;
    }
}

}  // namespace practice_room
