#include "PracticeRoomProcess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

using practice_room::LogEntry;

namespace {

std::wstring FreshLogPath() {
    static unsigned counter = 0;
    wchar_t folder[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder)) throw std::runtime_error("GetTempPath failed");
    return std::wstring(folder) + L"practice-room-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L".log";
}

// The room writes on while this reads: the file is shared both ways.
std::string ReadShared(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> WithLog(std::vector<std::wstring> options, const std::wstring& logPath) {
    options.insert(options.end(), {L"--no-error-box", L"--log", logPath});
    return options;
}

}  // namespace

HWND FrontDocument(const char* childClass) {
    const HWND area = FindWindowExA(FindWindowA("AOL Frame25", nullptr), nullptr, "MDIClient", nullptr);
    const HWND document = area ? FindWindowExA(area, nullptr, "AOL Child", nullptr) : nullptr;
    const HWND window = document && childClass ? FindWindowExA(document, nullptr, childClass, nullptr) : document;
    if (!window) throw std::runtime_error(std::string("the practice room has no ") + (childClass ? childClass : "document window"));
    return window;
}

PracticeRoomProcess::PracticeRoomProcess(std::vector<std::wstring> options, unsigned readyTimeoutMs)
    : logPath_(FreshLogPath()), process_(L"" PRACTICE_ROOM_EXE, WithLog(std::move(options), logPath_)) {
    bool ended = false, ready = false;
    // The exit is read before the log, so that a last entry is never missed.
    const auto endedOrReady = [&] {
        ended = process_.Exited();
        ready = std::ranges::any_of(Log(), [](const LogEntry& entry) {
            return entry.source == "practice-room" && entry.kind == "ready";
        });
        return ended || ready;
    };
    WaitUntil(endedOrReady, readyTimeoutMs);
    if (ready) return;
    std::string what = ended ? "the practice room ended before it was ready" : "the practice room did not get ready";
    for (const LogEntry& entry : Log()) what += "\n  " + FormatLogEntry(entry, false);
    DeleteFileW(logPath_.c_str());
    throw std::runtime_error(what);
}

PracticeRoomProcess::~PracticeRoomProcess() {
    try {
        Stop();
    } catch (...) {
        // Stop has already ended the process forcibly; a destructor reports nothing.
    }
    DeleteFileW(logPath_.c_str());
}

std::vector<LogEntry> PracticeRoomProcess::Log() const { return practice_room::ParseLog(ReadShared(logPath_)); }

std::vector<LogEntry> PracticeRoomProcess::WindowEntries() const {
    std::vector<LogEntry> entries;
    for (LogEntry& entry : Log())
        if (entry.source != "practice-room") entries.push_back(std::move(entry));
    return entries;
}

int PracticeRoomProcess::Stop(unsigned timeoutMs) {
    if (exitCode_ >= 0) return exitCode_;
    if (!process_.Exited())
        for (HWND window : process_.VisibleWindows()) PostMessageW(window, WM_CLOSE, 0, 0);
    exitCode_ = process_.WaitForExit(timeoutMs);
    return exitCode_;
}
