// The practice room's log: one entry a line, "<source> <kind>[ <payload>]". Texts travel as quoted bytes:
// printable ASCII as it is, '"' and '\' behind a backslash, every other byte as \xHH (upper-case).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

struct LogEntry {
    std::string source;   // "practice-room", or the window that received or submitted: "room1", "stray", ...
    std::string kind;     // "ready", "exit", "error", "settext", "char", "msg", "line"
    std::string payload;  // unquoted bytes for quoted payloads, else the rest of the line as it is

    bool operator==(const LogEntry&) const = default;
};

std::string QuoteBytes(std::string_view bytes);
// The bytes of a quoted text, or nothing when it is not one.
std::optional<std::string> UnquoteBytes(std::string_view quoted);

// One line of the log, without its line break.
std::string FormatLogEntry(const LogEntry& entry, bool quoted);
// Parses the complete lines of text; a last line without its line break is still being written and
// is left out. Throws std::runtime_error for a line that is not an entry.
std::vector<LogEntry> ParseLog(std::string_view text);

}  // namespace practice_room
