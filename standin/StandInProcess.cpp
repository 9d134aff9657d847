#include "StandInProcess.h"

#include <windows.h>

#include <stdexcept>

namespace standin {

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Quoting that CommandLineToArgvW undoes: backslashes are literal except before a quote.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw std::runtime_error("GetModuleFileName failed");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring FreshLogPath() {
    static unsigned counter = 0;
    wchar_t folder[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder)) throw std::runtime_error("GetTempPath failed");
    return std::wstring(folder) + L"standin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L".log";
}

std::string ReadShared(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

bool IsReady(const std::vector<LogEntry>& log) {
    for (const LogEntry& entry : log)
        if (entry.source == "standin" && entry.kind == "ready") return true;
    return false;
}

}  // namespace

StandInProcess::StandInProcess(std::vector<std::wstring> options, std::wstring exe, unsigned readyTimeoutMs)
    : logPath_(FreshLogPath()) {
    if (exe.empty()) exe = ProgramFolder() + L"standin.exe";
    options.push_back(L"--log");
    options.push_back(logPath_);
    std::wstring commandLine = QuoteArgument(exe);
    for (const std::wstring& option : options) commandLine += L' ' + QuoteArgument(option);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start " + Narrow(exe) + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;

    const DWORD start = GetTickCount();
    for (;;) {
        const bool ended = Exited();  // read before the log, so that a last entry is never missed
        std::vector<LogEntry> log = Log();
        if (IsReady(log)) return;
        if (ended || GetTickCount() - start > readyTimeoutMs) {
            std::string what = ended ? "the stand-in ended before it was ready" : "the stand-in did not get ready";
            for (const LogEntry& entry : log) what += "\n  " + FormatLogEntry(entry, false);
            if (!ended) TerminateProcess(process_, 1);
            CloseHandle(process_);
            process_ = nullptr;
            DeleteFileW(logPath_.c_str());
            throw std::runtime_error(what);
        }
        Sleep(10);
    }
}

StandInProcess::~StandInProcess() {
    try {
        if (process_) Stop();
    } catch (...) {
        // Stop has already ended the process forcibly; a destructor reports nothing.
    }
    if (process_) CloseHandle(process_);
    DeleteFileW(logPath_.c_str());
}

bool StandInProcess::Exited() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

std::vector<LogEntry> StandInProcess::Log() const { return ParseLog(ReadShared(logPath_)); }

std::vector<LogEntry> StandInProcess::WindowEntries() const {
    std::vector<LogEntry> entries;
    for (LogEntry& entry : Log())
        if (entry.source != "standin") entries.push_back(std::move(entry));
    return entries;
}

int StandInProcess::Stop(unsigned timeoutMs) {
    if (!process_) return exitCode_;
    if (!Exited()) {
        EnumWindows(CloseWindowsOf, static_cast<LPARAM>(processId_));
        if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
            CloseHandle(process_);
            process_ = nullptr;
            throw std::runtime_error("the stand-in did not end after WM_CLOSE");
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    exitCode_ = static_cast<int>(code);
    return exitCode_;
}

std::vector<LogEntry> DeliveryEntries(std::string_view box, std::string_view ansiLine) {
    const std::string source(box);
    return {{source, "settext", ""},   {source, "settext", ""}, {source, "settext", ""},
            {source, "settext", std::string(ansiLine)}, {source, "char", "13"}, {source, "line", std::string(ansiLine)}};
}

}  // namespace standin
