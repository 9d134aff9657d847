// Runs the stand-in chat client (standin.exe) as a separate process and reads its log.
#pragma once

#include "LogFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace standin {

class StandInProcess {
public:
    // Starts standin.exe with options and a fresh log in the temporary folder, and returns once the
    // stand-in has logged that its windows exist. exe defaults to standin.exe beside the running
    // program. Throws std::runtime_error (with what the stand-in logged) if it does not get ready.
    explicit StandInProcess(std::vector<std::wstring> options, std::wstring exe = {}, unsigned readyTimeoutMs = 60000);
    ~StandInProcess();  // stops the stand-in if it still runs and deletes the log
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    // Every complete entry so far (the stand-in writes each one through as it happens).
    std::vector<LogEntry> Log() const;
    // The entries of the stand-in's windows, in order, without its own "standin" ones.
    std::vector<LogEntry> WindowEntries() const;
    // Sends WM_CLOSE to its top-level windows and waits for the process to end; returns its exit code.
    // Ends it forcibly and throws if it has not ended within timeoutMs.
    int Stop(unsigned timeoutMs = 20000);

    unsigned long ProcessId() const { return processId_; }
    const std::wstring& LogPath() const { return logPath_; }

private:
    bool Exited() const;

    void* process_ = nullptr;
    unsigned long processId_ = 0;
    std::wstring logPath_;
    int exitCode_ = -1;
};

// What an input box logs for one delivered line (ANSI bytes): WM_SETTEXT "" three times, WM_SETTEXT
// with the line, WM_CHAR 13, and the line that the box then posts.
std::vector<LogEntry> DeliveryEntries(std::string_view box, std::string_view ansiLine);

}  // namespace standin
