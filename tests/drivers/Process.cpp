#include "Process.h"

#include <cwchar>
#include <stdexcept>

namespace {

// Quoting that CommandLineToArgvW undoes, for the arguments the tests pass: none holds a quote or ends in a
// backslash, where its rules for backslashes would apply.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (argument.find(L'"') != std::wstring::npos || argument.ends_with(L'\\'))
        throw std::invalid_argument("an argument that needs escapes: " + Narrow(argument));
    return argument.empty() || argument.find_first_of(L" \t") != argument.npos ? L'"' + argument + L'"' : argument;
}

struct VisibleOf {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<VisibleOf*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window)) search.windows.push_back(window);
    return TRUE;
}

}  // namespace

unsigned TimeScaled(unsigned timeoutMs) {
    static const unsigned scale = [] {
        wchar_t text[16] = {};
        const DWORD length = GetEnvironmentVariableW(L"QUENLOW_TIME_SCALE", text, 16);
        const unsigned long factor = length > 0 && length < 16 ? std::wcstoul(text, nullptr, 10) : 0;
        return factor > 0 && factor < 100 ? static_cast<unsigned>(factor) : 1u;
    }();
    return timeoutMs * scale;
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    timeoutMs = TimeScaled(timeoutMs);
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

std::string Narrow(std::wstring_view text) { return std::string(text.begin(), text.end()); }

ChildProcess::ChildProcess(std::wstring exe, const std::vector<std::wstring>& arguments, WORD show) {
    if (exe.starts_with(L'/')) exe.insert(0, L"Z:");
    std::wstring commandLine = QuoteArgument(exe);
    for (const std::wstring& argument : arguments) commandLine += L' ' + QuoteArgument(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
        throw std::runtime_error("cannot start " + Narrow(exe) + " (system error " + std::to_string(GetLastError()) + ")");
}

ChildProcess::~ChildProcess() {
    if (!Exited()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, TimeScaled(10000));
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::Exited() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }

int ChildProcess::WaitForExit(unsigned timeoutMs, const std::function<void()>& wait) {
    timeoutMs = TimeScaled(timeoutMs);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(info_.hProcess, 1) != WAIT_OBJECT_0) {
        if (wait) wait();
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, TimeScaled(10000));
            throw std::runtime_error("the program still ran " + std::to_string(timeoutMs) + " ms later");
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

std::vector<HWND> ChildProcess::VisibleWindows() const {
    VisibleOf search{info_.dwProcessId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::wstring ChildProcess::AnswerMessageBox(unsigned timeoutMs) const {
    HWND box = nullptr;
    const auto shown = [&] {
        for (HWND window : VisibleWindows()) box = ClassName(window) == L"#32770" ? window : box;
        return box != nullptr;
    };
    if (!WaitUntil(shown, timeoutMs)) throw std::runtime_error("the program showed no message box");
    // The box's static control; GetDlgItemText sends WM_GETTEXT, which reaches a control of another process.
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

