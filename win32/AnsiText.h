// Text in the system's ANSI code page (CP_ACP), as user32's A entry points take it.
#pragma once

#include <string>
#include <string_view>

// Both throw std::system_error when the system cannot convert, std::length_error for a text over INT_MAX units.
// A character that the code page lacks becomes what WideCharToMultiByte(CP_ACP, 0, ...) gives: its best fit or '?'.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);
