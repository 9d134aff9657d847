// The practice room run as a separate process, with its log.
#pragma once

#include "LogFormat.h"
#include "Process.h"

#include <string>
#include <vector>

// The practice room's front document window (under --decoys a decoy, under --lacking a near miss), or that
// window's first child of a class. Throws std::runtime_error if there is none.
HWND FrontDocument(const char* childClass = nullptr);

class PracticeRoomProcess {
public:
    // Starts practice-room.exe with options, a fresh log in the temporary folder and no error box, and
    // returns once it has logged that its windows exist. Throws std::runtime_error (with what it logged)
    // if it does not get ready.
    explicit PracticeRoomProcess(std::vector<std::wstring> options, unsigned readyTimeoutMs = 60000);
    ~PracticeRoomProcess();  // stops it if it still runs and deletes the log
    PracticeRoomProcess(const PracticeRoomProcess&) = delete;
    PracticeRoomProcess& operator=(const PracticeRoomProcess&) = delete;

    // Every complete entry so far (the room writes each one through as it happens).
    std::vector<practice_room::LogEntry> Log() const;
    // The entries of its windows, in order, without its own "practice-room" ones.
    std::vector<practice_room::LogEntry> WindowEntries() const;
    // Sends WM_CLOSE to its top-level windows and waits for it to end; returns its exit code. Ends it
    // forcibly and throws if it has not ended within timeoutMs.
    int Stop(unsigned timeoutMs = 20000);

    ChildProcess& Process() { return process_; }

private:
    std::wstring logPath_;
    ChildProcess process_;
    int exitCode_ = -1;
};
