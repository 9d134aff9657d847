#include "LogFormat.h"

#include <doctest/doctest.h>

TEST_CASE("log texts survive quoting byte for byte") {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    CHECK(standin::UnquoteBytes(standin::QuoteBytes(bytes)) == bytes);
    CHECK(standin::QuoteBytes("q\"\\\xF8") == "\"q\\\"\\\\\\xF8\"");
}
