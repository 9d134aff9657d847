#include "Options.h"

#include "AnsiText.h"

#include <cwchar>
#include <stdexcept>

namespace practice_room {

namespace {

// Options and their values as the usage shows them.
std::string Ansi(const std::wstring& text) { return ToAnsi(std::u16string(text.begin(), text.end())); }

int ParseCount(const std::wstring& option, const wchar_t* text) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (*text == 0 || *end != 0 || value < 0 || value > 100000)
        throw std::invalid_argument(Ansi(option) + " takes a count from 0 to 100000, not \"" + Ansi(text) + "\"");
    return static_cast<int>(value);
}

}  // namespace

bool WantsErrorBox(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::wcscmp(argv[i], L"--no-error-box") == 0) return false;
    return true;
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const auto value = [&]() -> const wchar_t* {
            if (i + 1 >= argc) throw std::invalid_argument(Ansi(option) + " needs a value");
            return argv[++i];
        };
        if (option == L"--rooms") o.rooms = ParseCount(option, value());
        else if (option == L"--decoys") o.decoys = ParseCount(option, value());
        else if (option == L"--lacking") o.lacking = true;
        else if (option == L"--grandchildren") o.grandchildren = true;
        else if (option == L"--mixed-case") o.mixedCase = true;
        else if (option == L"--no-frame") o.noFrame = true;
        else if (option == L"--stray") o.stray = true;
        else if (option == L"--typed") o.typed = value();
        else if (option == L"--log") o.logPath = value();
        else if (option == L"--no-error-box") o.errorBox = false;
        else throw std::invalid_argument("unknown option \"" + Ansi(option) + "\"");
    }
    return o;
}

}  // namespace practice_room
