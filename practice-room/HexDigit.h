// One hexadecimal digit, for the markup's colours and the log's quoted bytes.
#pragma once

namespace practice_room {

// The value of c as a hexadecimal digit (either case), or -1.
constexpr int HexDigitValue(char32_t c) {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
    return -1;
}

}  // namespace practice_room
