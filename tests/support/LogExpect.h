// The practice room's log entries compared as the log writes them.
#pragma once

#include "Delivery.h"
#include "LogFormat.h"
#include "SequenceCheck.h"

#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

// What an input box logs for one delivered line (ANSI bytes): the five messages, then the line that the
// box submits to its room.
inline std::vector<LogEntry> DeliveryEntries(std::string_view box, std::string_view ansiLine) {
    std::vector<LogEntry> entries;
    for (auto& [kind, payload] : DeliveryMessages(std::string(ansiLine)))
        entries.push_back({std::string(box), kind, payload});
    entries.push_back({std::string(box), "line", std::string(ansiLine)});
    return entries;
}

inline std::vector<std::string> LogLines(const std::vector<LogEntry>& entries) {
    std::vector<std::string> lines;
    for (const LogEntry& entry : entries)
        lines.push_back(FormatLogEntry(entry, entry.kind == "settext" || entry.kind == "line"));
    return lines;
}

inline void CheckLogEntries(const std::vector<LogEntry>& actual, const std::vector<LogEntry>& expected,
                            const std::source_location& where = std::source_location::current()) {
    CheckSequence(LogLines(expected), LogLines(actual), where);
}

}  // namespace practice_room
