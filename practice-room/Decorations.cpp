// The room's other signature classes: a caption, a list box, the Send icon and an emblem, painted and
// inert, except that the Send icon posts the room's input.
#include "PracticeRoom.h"

namespace practice_room {

namespace {

void PaintDecoration(HWND window, ClassId id) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT rc;
    GetClientRect(window, &rc);
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, app->uiFont);
    SetBkMode(dc, TRANSPARENT);
    switch (id) {
    case kStatic:
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        rc.left += 2;
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    case kCombobox: {
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        RECT arrow{rc.right - 2 - (rc.bottom - 4), rc.top + 2, rc.right - 2, rc.bottom - 2};
        DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLDOWN);
        RECT label{rc.left + 4, rc.top, arrow.left, rc.bottom};
        DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    }
    case kIcon:
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        break;
    default: {  // kImage: a small emblem
        HBRUSH blue = CreateSolidBrush(RGB(0, 51, 153));
        FillRect(dc, &rc, blue);
        DeleteObject(blue);
        HBRUSH gold = CreateSolidBrush(RGB(255, 204, 0));
        HGDIOBJ oldBrush = SelectObject(dc, gold);
        const int size = (rc.bottom < rc.right ? rc.bottom : rc.right) - 12;
        const int cx = rc.right / 2, cy = rc.bottom / 2;
        const POINT triangle[] = {{cx, cy - size / 2}, {cx + size / 2, cy + size / 2}, {cx - size / 2, cy + size / 2}};
        Polygon(dc, triangle, 3);
        SelectObject(dc, oldBrush);
        DeleteObject(gold);
        break;
    }
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

template <ClassId id>
LRESULT CALLBACK DecorationProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        switch (message) {
        case WM_PAINT: PaintDecoration(window, id); return 0;
        case WM_SETTEXT: InvalidateRect(window, nullptr, TRUE); break;
        case WM_LBUTTONUP:
            if constexpr (id == kIcon) {
                HWND input = FindWindowExA(GetParent(window), nullptr, app->classNames[kInput], nullptr);
                if (auto* box = input ? reinterpret_cast<InputBox*>(GetWindowLongPtrA(input, GWLP_USERDATA)) : nullptr)
                    PostLine(*box);
                return 0;
            }
            break;
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
