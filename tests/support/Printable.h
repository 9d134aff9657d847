// Text for a test's report: ASCII as it is, the rest as \uXXXX.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

template <class Char>
std::string Printable(std::basic_string_view<Char> text) {
    std::string out;
    for (const Char c : text) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(c));
        out += c >= 0x20 && c < 0x7F ? std::string(1, char(c)) : escape;
    }
    return out;
}
