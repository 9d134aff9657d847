#include "LogFormat.h"

#include <doctest/doctest.h>

TEST_CASE("log texts survive quoting byte for byte") {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    CHECK(practice_room::UnquoteBytes(practice_room::QuoteBytes(bytes)) == bytes);
    CHECK(practice_room::QuoteBytes("q\"\\\xF8") == "\"q\\\"\\\\\\xF8\"");
}
