// Comparing stand-in log entries in doctest: expected and actual side by side on a mismatch.
#pragma once

#include "LogFormat.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace standin {

// An entry as the log writes it, long texts shortened to their start and their length.
inline std::string ShortEntry(const LogEntry& entry) {
    std::string text = FormatLogEntry(entry, entry.kind == "settext" || entry.kind == "line");
    if (text.size() > 60) text = text.substr(0, 48) + "... (" + std::to_string(entry.payload.size()) + " bytes)";
    return text;
}

inline void CheckLogEntries(const std::vector<LogEntry>& actual, const std::vector<LogEntry>& expected) {
    if (actual == expected) {
        CHECK(actual.size() == expected.size());
        return;
    }
    std::string table = "expected" + std::string(56, ' ') + "actual\n";
    for (std::size_t i = 0; i < actual.size() || i < expected.size(); ++i) {
        std::string left = i < expected.size() ? ShortEntry(expected[i]) : "-";
        const std::string right = i < actual.size() ? ShortEntry(actual[i]) : "-";
        const bool same = i < expected.size() && i < actual.size() && expected[i] == actual[i];
        left.resize(62, ' ');
        table += (same ? "  " : "! ") + left + right + "\n";
    }
    FAIL_CHECK(table);
}

}  // namespace standin

namespace doctest {
template <>
struct StringMaker<standin::LogEntry> {
    static String convert(const standin::LogEntry& entry) { return standin::ShortEntry(entry).c_str(); }
};
}  // namespace doctest
