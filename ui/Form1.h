// The tool's window: two text boxes, two buttons and two colour mixers over a background picture.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "Gdi.h"
#include "WindowManager.h"

#include <cstdint>
#include <string_view>

class Form1 {
public:
    // The window's caption, which the tool's message boxes carry too.
    static constexpr wchar_t kCaption[] = L".:[ Quenlow ]:.";

    // Creates the window and its controls, hidden. desktop must outlive the window.
    explicit Form1(tarvix_aol8::WindowManager& desktop);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    void Show(int showCommand);
    // The top-level window; nullptr once it has been destroyed.
    HWND Window() const { return window_; }

    // Event handlers, named after their control and event.
    void Command1_Click();
    void Command2_Click();
    void Form_Unload(std::int16_t& cancel);
    void red1_Change();
    void green1_Change();
    void blue1_Change();
    void Red2_Change();
    void Green2_Change();
    void Blue2_Change();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls(HINSTANCE instance, int dpiX, int dpiY);
    LRESULT OnEraseBackground(HDC dc);
    LRESULT OnColorEdit(HDC dc);
    LRESULT OnColorStatic(HDC dc, HWND control, WPARAM wParam, LPARAM lParam);
    void OnHScroll(HWND bar, int code, int thumbPosition);
    void OnCommand(int id, int code);
    void OnActivate(int state, bool minimized);
    void RestoreFocus();
    void OnClose();
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnDestroy();
    // Delivers line A with firstLine, then line B with the handle in Text2.
    void DeliverAnnouncement(std::u16string_view firstLine);

    template <class Handler>
    void Guarded(const char* what, Handler&& handler) noexcept;
    void ReportError(const char* what, const char* error) noexcept;

    tarvix_aol8::WindowManager& desktop_;
    HWND window_ = nullptr;
    HWND focus_ = nullptr;
    bool unloading_ = false;
    bool started_ = false;  // every control exists

    Control Text2, Command2, Text1, Command1, color1, Color2;
    Control red1, green1, blue1, Red2, Blue2, Green2;

    Bitmap background_;
    SIZE backgroundSize_{};
    Font font_;
    Brush textBoxBrush_;
    // A brush that paints a swatch, with the colour it was made for.
    struct SwatchPaint {
        Brush brush;
        COLORREF color = 0;
    };
    SwatchPaint color1Paint_, Color2Paint_;
};
