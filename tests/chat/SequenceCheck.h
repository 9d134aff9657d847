// Compares a recorded sequence (messages, searches) with the expected one entry by entry, and on a
// mismatch prints both side by side, in the manner of Wine's message tests.
#pragma once

#include <doctest/doctest.h>

#include <algorithm>
#include <cstddef>
#include <source_location>
#include <string>
#include <vector>

namespace tarvix_aol8 {

// T needs operator== and a Describe(const T&) returning std::string. A mismatch is reported at the caller.
template <typename T>
void CheckSequence(const std::vector<T>& expected, const std::vector<T>& actual,
                   const std::source_location& where = std::source_location::current()) {
    constexpr std::size_t kColumn = 52;
    const std::size_t rows = std::max(expected.size(), actual.size());
    std::string table = "  #  " + std::string("expected").append(kColumn - 8, ' ') + "   actual\n";
    bool same = expected.size() == actual.size();
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string want = i < expected.size() ? Describe(expected[i]) : "(nothing)";
        const std::string got = i < actual.size() ? Describe(actual[i]) : "(nothing)";
        const bool match = i < expected.size() && i < actual.size() && expected[i] == actual[i];
        same = same && match;
        std::string row = std::to_string(i);
        row.insert(0, row.size() < 3 ? 3 - row.size() : 0, ' ');
        table += row + "  " + want + std::string(want.size() < kColumn ? kColumn - want.size() : 1, ' ') +
                 (match ? "   " : "!= ") + got + "\n";
    }
    if (!same) ADD_FAIL_CHECK_AT(where.file_name(), int(where.line()), "sequences differ:\n" << table);
}

}  // namespace tarvix_aol8
