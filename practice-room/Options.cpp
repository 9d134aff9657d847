#include "Options.h"

#include <cwchar>
#include <stdexcept>

namespace practice_room {

namespace {

std::string Ansi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return "?";
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    ansi.pop_back();
    return ansi;
}

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

Log::~Log() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Log::Open(const std::wstring& path) {
    file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create the log file");
}

void Log::Write(const LogEntry& entry, bool quoted) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    const std::string line = FormatLogEntry(entry, quoted) + '\n';
    // One unbuffered write per entry: a reader never sees half an entry before its line break.
    DWORD written = 0;
    if (!WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size())
        throw std::runtime_error("cannot write the log file");
}

}  // namespace practice_room
