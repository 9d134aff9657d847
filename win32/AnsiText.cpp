#include "AnsiText.h"

#include <windows.h>

#include <climits>
#include <stdexcept>
#include <system_error>

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 texts are passed to the system as they are");

// The system counts in int.
int Units(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long for the ANSI conversion");
    return static_cast<int>(size);
}

[[noreturn]] void ThrowLastError(const char* call) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), call);
}

}  // namespace

std::string ToAnsi(std::u16string_view text) {
    // An empty text would read as a failure: both calls return 0.
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = Units(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) ThrowLastError("WideCharToMultiByte");
    std::string ansi(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, units, ansi.data(), size, nullptr, nullptr) != size)
        ThrowLastError("WideCharToMultiByte");
    return ansi;
}

std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int units = Units(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), units, nullptr, 0);
    if (size <= 0) ThrowLastError("MultiByteToWideChar");
    std::u16string text(static_cast<std::size_t>(size), u'\0');
    if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), units, reinterpret_cast<wchar_t*>(text.data()), size) != size)
        ThrowLastError("MultiByteToWideChar");
    return text;
}
