#include "Log.h"

#include <stdexcept>

namespace practice_room {

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
