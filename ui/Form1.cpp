#include "Form1.h"

#include "AnsiText.h"
#include "Announcements.h"
#include "ExitCode.h"
#include "Form1Ids.h"
#include "MessageLoop.h"
#include "VeskFade.h"
#include "resource.h"
#include "tarvix_aol8.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

// Fixed single border, system menu and close only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Geometry is in twips, converted once with the system's DPI.
constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidth = 2895;
constexpr int kClientHeight = 1920;
constexpr int kControlWidth = 1215;

// "Arial Narrow" 8.25 pt, in hundredths of a point.
constexpr wchar_t kFontFace[] = L"Arial Narrow";
constexpr int kFontCentipoints = 825;

constexpr COLORREF kTextBoxBackColor = RGB(224, 224, 224);

constexpr int kBarMin = 0;
constexpr int kBarMax = 255;
constexpr int kSmallChange = 1;
constexpr int kLargeChange = 1;

int ToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

[[noreturn]] void ThrowLastError(const std::string& what) {
    throw std::runtime_error(what + " failed (system error " + std::to_string(GetLastError()) + ")");
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUENLOW));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUENLOW), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = Form1Ids::kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError("registering the window class");
}

// A mixer update: the colour always comes from all three bars of the mixer.
void Mix(const Control& red, const Control& green, const Control& blue, const Control& swatch) {
    const std::int16_t r = ReadPosition(red);
    const std::int16_t g = ReadPosition(green);
    const std::int16_t b = ReadPosition(blue);
    WriteBackColor(swatch, r + 256 * g + 65536 * b);
}

enum class Kind { TextBox, Button, Swatch, Bar };

struct ControlLayout {
    Control Form1::*control;
    const char* name;
    int id;
    Kind kind;
    int left, top, height;  // twips
    const wchar_t* text;
};

}  // namespace

template <class Handler>
void Form1::Guarded(const char* what, Handler&& handler) noexcept {
    ::Guarded(handler, [&](const char* error) { ReportError(what, error); });
}

Form1::Form1(tarvix_aol8::WindowManager& desktop) : desktop_(desktop) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    background_.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!background_) ThrowLastError("loading the background picture");
    BITMAP picture{};
    GetObjectW(background_.get(), sizeof picture, &picture);
    backgroundSize_ = {picture.bmWidth, picture.bmHeight};

    RegisterWindowClass(instance, &Form1::WindowProc);

    int dpiX = 0, dpiY = 0;
    {
        const WindowDc screen;
        if (!screen.get()) ThrowLastError("reading the screen's resolution");
        dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    font_.reset(CreateFontW(-MulDiv(kFontCentipoints, dpiY, 72 * 100), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, kFontFace));
    if (!font_) ThrowLastError("creating the font");
    textBoxBrush_.reset(CreateSolidBrush(kTextBoxBackColor));
    if (!textBoxBrush_) ThrowLastError("creating the text boxes' brush");

    RECT outer{0, 0, ToPixels(kClientWidth, dpiX), ToPixels(kClientHeight, dpiY)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    // WM_NCCREATE stores window_.
    if (!CreateWindowExW(kExStyle, Form1Ids::kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, this))
        ThrowLastError("creating the window");
    try {
        CreateControls(instance, dpiX, dpiY);
    } catch (...) {
        DestroyWindow(window_);
        throw;
    }
    started_ = true;
}

Form1::~Form1() {
    if (window_) DestroyWindow(window_);
}

void Form1::CreateControls(HINSTANCE instance, int dpiX, int dpiY) {
    // Creation order is z-order, which is the order Tab follows.
    const ControlLayout layout[] = {
        {&Form1::Blue2, "Blue2", Form1Ids::Blue2, Kind::Bar, 1560, 1560, 135, L""},
        {&Form1::Green2, "Green2", Form1Ids::Green2, Kind::Bar, 1560, 1680, 135, L""},
        {&Form1::Red2, "Red2", Form1Ids::Red2, Kind::Bar, 1560, 1440, 135, L""},
        {&Form1::Text1, "Text1", Form1Ids::Text1, Kind::TextBox, 120, 480, 285, L"Text to fade"},
        {&Form1::Command1, "Command1", Form1Ids::Command1, Kind::Button, 1560, 480, 255, L"Send"},
        {&Form1::blue1, "blue1", Form1Ids::blue1, Kind::Bar, 120, 1680, 135, L""},
        {&Form1::green1, "green1", Form1Ids::green1, Kind::Bar, 120, 1560, 135, L""},
        {&Form1::red1, "red1", Form1Ids::red1, Kind::Bar, 120, 1440, 135, L""},
        {&Form1::Color2, "Color2", Form1Ids::Color2, Kind::Swatch, 1560, 960, 375, L""},
        {&Form1::color1, "color1", Form1Ids::color1, Kind::Swatch, 120, 960, 375, L""},
        {&Form1::Text2, "Text2", Form1Ids::Text2, Kind::TextBox, 120, 120, 285, L"Handle"},
        {&Form1::Command2, "Command2", Form1Ids::Command2, Kind::Button, 1560, 120, 255, L"load it"},
    };
    for (const ControlLayout& item : layout) {
        const wchar_t* windowClass = L"";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (item.kind) {
        case Kind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case Kind::Button:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case Kind::Swatch:
            windowClass = L"STATIC";
            style |= WS_BORDER | SS_LEFT;
            break;
        case Kind::Bar:
            // Consecutive bars share a pixel row; clipping keeps the upper one whole in it.
            windowClass = L"SCROLLBAR";
            style |= WS_TABSTOP | WS_CLIPSIBLINGS | SBS_HORZ;
            break;
        }
        const HWND window = CreateWindowExW(
            exStyle, windowClass, item.text, style, ToPixels(item.left, dpiX), ToPixels(item.top, dpiY),
            ToPixels(kControlWidth, dpiX), ToPixels(item.height, dpiY), window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
        if (!window) ThrowLastError(std::string("creating ") + item.name);
        Control& control = this->*item.control;
        control = {window, item.name};
        switch (item.kind) {
        case Kind::TextBox:
            // 0: no limit; an edit otherwise stops taking typed text at about 30,000 characters.
            SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
            break;
        case Kind::Button:
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
            break;
        case Kind::Swatch:
            WriteBackColor(control, kButtonFaceReference);
            break;
        case Kind::Bar: {
            SCROLLINFO range{};
            range.cbSize = sizeof range;
            range.fMask = SIF_RANGE | SIF_POS;
            range.nMin = kBarMin;
            range.nMax = kBarMax;
            SetScrollInfo(window, SB_CTL, &range, FALSE);
            break;
        }
        }
    }
    focus_ = Blue2.window;
}

void Form1::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    // A shortcut set to run maximized or minimized: with neither box the window keeps its fixed size. Restored
    // only after the first ShowWindow, which the system may override with the starting program's choice.
    if (IsZoomed(window_) || IsIconic(window_)) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        if (GetActiveWindow() == window_) RestoreFocus();
    }
    UpdateWindow(window_);
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    // No Form1 before WM_NCCREATE and after WM_NCDESTROY; a handler still running on the stack
    // then finds window_ empty.
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    self->Guarded("Form1", [&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLOREDIT:
        return OnColorEdit(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
        return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), wParam, lParam);
    case WM_HSCROLL:
        OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT Form1::OnEraseBackground(HDC dc) {
    const MemoryDc picture(dc, background_.get());
    if (picture.get())
        BitBlt(dc, 0, 0, backgroundSize_.cx, backgroundSize_.cy, picture.get(), 0, 0, SRCCOPY);
    // At a high DPI the client area can outgrow the picture, which is never scaled.
    RECT client{};
    GetClientRect(window_, &client);
    const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    if (client.right > backgroundSize_.cx) {
        const RECT right{backgroundSize_.cx, 0, client.right, client.bottom};
        FillRect(dc, &right, face);
    }
    if (client.bottom > backgroundSize_.cy) {
        const RECT below{0, backgroundSize_.cy, client.right, client.bottom};
        FillRect(dc, &below, face);
    }
    return 1;
}

LRESULT Form1::OnColorEdit(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, kTextBoxBackColor);
    return reinterpret_cast<LRESULT>(textBoxBrush_.get());
}

LRESULT Form1::OnColorStatic(HDC dc, HWND control, WPARAM wParam, LPARAM lParam) {
    const Control* swatch = nullptr;
    SwatchPaint* paint = nullptr;
    if (control == color1.window) {
        swatch = &color1;
        paint = &color1Paint_;
    } else if (control == Color2.window) {
        swatch = &Color2;
        paint = &Color2Paint_;
    } else {
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, wParam, lParam);
    }
    const VeskFade::ColorValue value = ReadBackColor(*swatch);
    const COLORREF color = PaintColor(value);
    SetBkColor(dc, color);
    // System brushes belong to the system and follow its colour scheme.
    if (value < 0) return reinterpret_cast<LRESULT>(GetSysColorBrush(value & 0xFF));
    if (!paint->brush || paint->color != color) {
        paint->brush.reset(CreateSolidBrush(color));
        paint->color = color;
    }
    return reinterpret_cast<LRESULT>(paint->brush.get());
}

void Form1::OnHScroll(HWND barWindow, int code, int thumbPosition) {
    struct BarEvent {
        Control Form1::*bar;
        void (Form1::*handler)();
        const char* name;
    };
    static constexpr BarEvent events[] = {
        {&Form1::red1, &Form1::red1_Change, "red1_Change"},
        {&Form1::green1, &Form1::green1_Change, "green1_Change"},
        {&Form1::blue1, &Form1::blue1_Change, "blue1_Change"},
        {&Form1::Red2, &Form1::Red2_Change, "Red2_Change"},
        {&Form1::Green2, &Form1::Green2_Change, "Green2_Change"},
        {&Form1::Blue2, &Form1::Blue2_Change, "Blue2_Change"},
    };
    for (const BarEvent& event : events) {
        const Control& bar = this->*event.bar;
        if (bar.window != barWindow) continue;
        // Win32 scroll bars do not move themselves; the change event follows a real move only.
        Guarded(event.name, [&] {
            const int position = ReadPosition(bar);
            int next = position;
            switch (code) {
            case SB_LINELEFT: next -= kSmallChange; break;
            case SB_LINERIGHT: next += kSmallChange; break;
            case SB_PAGELEFT: next -= kLargeChange; break;
            case SB_PAGERIGHT: next += kLargeChange; break;
            case SB_THUMBPOSITION: next = thumbPosition; break;
            case SB_LEFT: next = kBarMin; break;
            case SB_RIGHT: next = kBarMax; break;
            default: return;  // SB_THUMBTRACK while dragging, SB_ENDSCROLL
            }
            next = std::clamp(next, kBarMin, kBarMax);
            if (next == position) return;
            WritePosition(bar, static_cast<std::int16_t>(next));
            (this->*event.handler)();
        });
        return;
    }
}

void Form1::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == Form1Ids::Command1) Guarded("Command1_Click", [this] { Command1_Click(); });
    if (id == Form1Ids::Command2) Guarded("Command2_Click", [this] { Command2_Click(); });
}

// Not a dialog: the window keeps its focused control across deactivation itself.
void Form1::OnActivate(int state, bool minimized) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focus_ = focus;
    } else if (!minimized) {
        RestoreFocus();
    }
}

void Form1::RestoreFocus() {
    SetFocus(focus_ && IsWindow(focus_) && IsChild(window_, focus_) ? focus_ : Blue2.window);
}

void Form1::OnClose() {
    // A second close while the unload announcement is still being delivered: it is posted once.
    if (unloading_) return;
    unloading_ = true;
    std::int16_t cancel = 0;
    Guarded("Form_Unload", [&] { Form_Unload(cancel); });
    unloading_ = false;
    // Closes after a failed Form_Unload too: the user could not close the tool otherwise.
    if (window_ && cancel == 0) DestroyWindow(window_);
}

// Never refuses. The farewell waits for WM_ENDSESSION: another program may still cancel the end.
LRESULT Form1::OnQueryEndSession() { return TRUE; }

// Log-off and shut-down send no WM_CLOSE, and the process is ended once this returns: close here.
void Form1::OnEndSession(bool ending) {
    if (ending) OnClose();
}

void Form1::OnDestroy() {
    RemoveBackColor(color1);
    RemoveBackColor(Color2);
    // A window that never started ends no loop: its WM_QUIT would close the box that reports the failure.
    if (started_) PostQuitMessage(ExitCode::kClosed);
}

void Form1::ReportError(const char* what, const char* error) noexcept {
    // The window was closed while the handler ran: the user has left, nothing to tell.
    if (!window_) return;
    try {
        const std::u16string text = FromAnsi(what) + u": " + FromAnsi(error);
        MessageBoxW(window_, reinterpret_cast<const wchar_t*>(text.c_str()), kCaption, MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(window_, L"An error occurred.", kCaption, MB_OK | MB_ICONERROR);
    }
}

void Form1::Command1_Click() {
    // Colours and text are read, and the line composed, before the delivery yields to other events.
    const VeskFade::ColorValue startColor = ReadBackColor(color1);
    const VeskFade::ColorValue endColor = ReadBackColor(Color2);
    const std::u16string text = ReadText(Text1);
    tarvix_aol8::DeliverChatLine(desktop_, VeskFade::FadeBetweenColors(startColor, endColor, text));
}

void Form1::Command2_Click() { DeliverAnnouncement(Announcements::LoadedLine); }

void Form1::Form_Unload(std::int16_t& /*cancel*/) { DeliverAnnouncement(Announcements::UnloadedLine); }

void Form1::DeliverAnnouncement(std::u16string_view firstLine) {
    tarvix_aol8::DeliverChatLine(desktop_, Announcements::LineA(firstLine));
    // Read only now: an edit made while line A was being delivered reaches line B.
    tarvix_aol8::DeliverChatLine(desktop_, Announcements::LineB(ReadText(Text2)));
}

void Form1::red1_Change() { Mix(red1, green1, blue1, color1); }
void Form1::green1_Change() { Mix(red1, green1, blue1, color1); }
void Form1::blue1_Change() { Mix(red1, green1, blue1, color1); }
void Form1::Red2_Change() { Mix(Red2, Green2, Blue2, Color2); }
void Form1::Green2_Change() { Mix(Red2, Green2, Blue2, Color2); }
void Form1::Blue2_Change() { Mix(Red2, Green2, Blue2, Color2); }
