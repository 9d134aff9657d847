// Stand-in log entries compared as the log writes them.
#pragma once

#include "LogFormat.h"
#include "SequenceCheck.h"

#include <string>
#include <vector>

namespace standin {

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

}  // namespace standin
