// What the drivers share: one of our programs run as a separate process, and waiting for what it does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A time-out written for native speed, stretched by the factor QUENLOW_TIME_SCALE where the programs run
// under an emulator (scripts/lib.sh sets it). The waits below stretch theirs themselves.
unsigned TimeScaled(unsigned timeoutMs);

// Polls condition every few milliseconds; false if it still does not hold after timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs);

// The ASCII text of a wide one: paths, class names and reports, for messages.
std::string Narrow(std::wstring_view text);

// A program started with arguments, and ended forcibly when this goes if it still runs.
class ChildProcess {
public:
    // exe may be a host path: under Wine, drive Z: is the host's root. show is what the program's first
    // ShowWindow does (STARTUPINFO's wShowWindow). Throws std::runtime_error if it cannot start.
    ChildProcess(std::wstring exe, const std::vector<std::wstring>& arguments, WORD show = SW_SHOWNORMAL);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE Thread() const { return info_.hThread; }
    bool Exited() const;
    // The exit code once it has ended by itself; ends it forcibly and throws if it still runs after
    // timeoutMs. wait runs between the polls.
    int WaitForExit(unsigned timeoutMs, const std::function<void()>& wait = {});
    // Its visible top-level windows, front to back.
    std::vector<HWND> VisibleWindows() const;
    // Waits for a message box of the program, answers it (OK) and returns its text. Throws
    // std::runtime_error if none shows within timeoutMs.
    std::wstring AnswerMessageBox(unsigned timeoutMs) const;

private:
    PROCESS_INFORMATION info_{};
};

std::wstring ClassName(HWND window);
