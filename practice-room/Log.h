// The practice room's log file, in the format of LogFormat.h.
#pragma once

#include "LogFormat.h"

#include <windows.h>

#include <string>

namespace practice_room {

// Without Open, entries go nowhere.
class Log {
public:
    Log() = default;
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    ~Log();
    // Creates the file anew; throws std::runtime_error if it cannot.
    void Open(const std::wstring& path);
    // Written through as it happens, so that a reader sees every entry of a message once the sender's
    // SendMessage has returned. Throws std::runtime_error if the write fails.
    void Write(const LogEntry& entry, bool quoted);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace practice_room
