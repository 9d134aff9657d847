// Reads and writes of Form1's control properties; a failed access raises ControlError.
#pragma once

#include <windows.h>

#include "VeskFade.h"

#include <cstdint>
#include <stdexcept>
#include <string>

// One control: its window and the name the code knows it by.
struct Control {
    HWND window = nullptr;
    const char* name = "";
};

class ControlError : public std::runtime_error {
public:
    ControlError(const std::string& what, DWORD code) : std::runtime_error(what), code_(code) {}
    // The system error code, 0 when the system gave none.
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

// A scroll bar's position.
std::int16_t ReadPosition(const Control& bar);
void WritePosition(const Control& bar, std::int16_t position);

// A text box's whole text (UTF-16).
std::u16string ReadText(const Control& box);

// A swatch's background colour: a ColorValue, or a system-colour reference (top bit set, index in the low byte).
VeskFade::ColorValue ReadBackColor(const Control& swatch);
void WriteBackColor(const Control& swatch, VeskFade::ColorValue color);
// A window's properties must be removed before it is destroyed.
void RemoveBackColor(const Control& swatch);

inline constexpr VeskFade::ColorValue kButtonFaceReference = static_cast<VeskFade::ColorValue>(0x8000000F);

// The colour that a background-colour value paints.
COLORREF PaintColor(VeskFade::ColorValue color);
