#include "Controls.h"

#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

namespace {

// The swatch's colour, as a window property of the swatch itself.
constexpr wchar_t kBackColorProperty[] = L"Quenlow.BackColor";

[[noreturn]] void Fail(const char* action, const Control& control, DWORD code) {
    throw ControlError(std::string(action) + " " + control.name + " failed (system error " + std::to_string(code) + ")",
                       code);
}

[[noreturn]] void Fail(const char* action, const Control& control) { Fail(action, control, GetLastError()); }

// A destroyed control's handle may not make every call fail, so check it first.
void RequireWindow(const char* action, const Control& control) {
    if (!control.window || !IsWindow(control.window)) Fail(action, control, ERROR_INVALID_WINDOW_HANDLE);
}

}  // namespace

std::int16_t ReadPosition(const Control& bar) {
    constexpr const char* action = "reading the position of";
    RequireWindow(action, bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    if (!GetScrollInfo(bar.window, SB_CTL, &info)) Fail(action, bar);
    return static_cast<std::int16_t>(info.nPos);
}

void WritePosition(const Control& bar, std::int16_t position) {
    RequireWindow("setting the position of", bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(bar.window, SB_CTL, &info, TRUE);
}

std::u16string ReadText(const Control& box) {
    constexpr const char* action = "reading the text of";
    RequireWindow(action, box);
    SetLastError(0);
    const int length = GetWindowTextLengthW(box.window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(box.window, text.data(), length + 1);
    if (copied == 0 && GetLastError() != 0) Fail(action, box);
    text.resize(static_cast<std::size_t>(copied));
    return std::u16string(text.begin(), text.end());
}

VeskFade::ColorValue ReadBackColor(const Control& swatch) {
    RequireWindow("reading the background colour of", swatch);
    const auto stored = reinterpret_cast<std::uintptr_t>(GetPropW(swatch.window, kBackColorProperty));
    return static_cast<VeskFade::ColorValue>(static_cast<std::uint32_t>(stored));
}

void WriteBackColor(const Control& swatch, VeskFade::ColorValue color) {
    constexpr const char* action = "setting the background colour of";
    RequireWindow(action, swatch);
    const auto stored = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(color));
    if (!SetPropW(swatch.window, kBackColorProperty, reinterpret_cast<HANDLE>(stored))) Fail(action, swatch);
    InvalidateRect(swatch.window, nullptr, TRUE);
}

void RemoveBackColor(const Control& swatch) { RemovePropW(swatch.window, kBackColorProperty); }

COLORREF PaintColor(VeskFade::ColorValue color) {
    const auto bits = static_cast<std::uint32_t>(color);
    if (bits & 0x80000000u) return GetSysColor(static_cast<int>(bits & 0xFFu));
    return bits & 0xFFFFFFu;
}
