// Compares a recorded sequence with the expected one entry by entry and on a mismatch prints both side
// by side, in the manner of Wine's message tests.
#pragma once

#include <doctest/doctest.h>

#include <algorithm>
#include <source_location>
#include <string>
#include <vector>

namespace tarvix_aol8 {

// A mismatch is reported at the caller.
inline void CheckSequence(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                          const std::source_location& where = std::source_location::current()) {
    if (expected == actual) return;
    std::string table = "  expected" + std::string(38, ' ') + "actual\n";
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        std::string want = i < expected.size() ? expected[i].substr(0, 44) : "-";
        const bool same = i < expected.size() && i < actual.size() && expected[i] == actual[i];
        want.resize(46, ' ');
        table += (same ? "  " : "! ") + want + (i < actual.size() ? actual[i].substr(0, 60) : "-") + "\n";
    }
    ADD_FAIL_CHECK_AT(where.file_name(), int(where.line()), "sequences differ:\n" << table);
}

}  // namespace tarvix_aol8
