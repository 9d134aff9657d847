// Compares a recorded sequence with the expected one entry by entry and on a mismatch prints both side
// by side, in the manner of Wine's message tests.
#pragma once

#include <doctest/doctest.h>

#include <algorithm>
#include <source_location>
#include <string>
#include <vector>

namespace sequence_check {

constexpr std::size_t kColumn = 56;

// An entry as it fits its column; a long one shows its length and the bytes around its first
// difference from the other side.
inline std::string Cell(const std::string& entry, const std::string& other) {
    if (entry.size() <= kColumn - 2) return entry;
    const auto at = static_cast<std::size_t>(
        std::mismatch(entry.begin(), entry.end(), other.begin(), other.end()).first - entry.begin());
    const std::size_t from = at < entry.size() && at > 12 ? at - 12 : 0;
    return "[" + std::to_string(entry.size()) + " @" + std::to_string(from) + "] " + entry.substr(from, 36);
}

}  // namespace sequence_check

// A mismatch is reported at the caller.
inline void CheckSequence(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                          const std::source_location& where = std::source_location::current()) {
    if (expected == actual) return;
    std::string table = "  expected" + std::string(sequence_check::kColumn - 8, ' ') + "actual\n";
    const std::string none = "-";
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const std::string& want = i < expected.size() ? expected[i] : none;
        const std::string& got = i < actual.size() ? actual[i] : none;
        std::string left = sequence_check::Cell(want, got);
        left.resize(sequence_check::kColumn, ' ');
        table += (want == got ? "  " : "! ") + left + sequence_check::Cell(got, want) + "\n";
    }
    ADD_FAIL_CHECK_AT(where.file_name(), int(where.line()), "sequences differ:\n" << table);
}
