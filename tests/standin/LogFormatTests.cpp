#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "LogExpect.h"

#include <stdexcept>

using standin::LogEntry;

TEST_CASE("log texts are quoted byte for byte") {
    SUBCASE("printable ASCII stays, quote and backslash are escaped, other bytes are hex") {
        CHECK(standin::QuoteBytes("<Font Color=#0F0080>a") == "\"<Font Color=#0F0080>a\"");
        CHECK(standin::QuoteBytes(std::string("q\"b\\s\x01\xF8\x7F\n", 9)) == "\"q\\\"b\\\\s\\x01\\xF8\\x7F\\x0A\"");
        CHECK(standin::QuoteBytes("") == "\"\"");
    }
    SUBCASE("every byte survives the round trip") {
        std::string bytes;
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
        CHECK(standin::UnquoteBytes(standin::QuoteBytes(bytes)) == bytes);
    }
    SUBCASE("malformed quoted texts are refused") {
        for (const char* bad : {"", "\"", "abc", "\"a\"b\"", "\"\\x4\"", "\"\\q\"", "\"a\\\""}) {
            CAPTURE(bad);
            CHECK_FALSE(standin::UnquoteBytes(bad).has_value());
        }
    }
}

TEST_CASE("the log is read entry by entry") {
    SUBCASE("quoted and plain payloads, CR LF, and an unfinished last line left out") {
        const auto entries = standin::ParseLog(
            "standin ready 42\nroom1 settext \"\"\r\nroom1 settext \"a b\\x85\"\nroom1 char 13\nstandin exit 0\nroom1 li");
        const std::vector<LogEntry> expected{{"standin", "ready", "42"},
                                             {"room1", "settext", ""},
                                             {"room1", "settext", "a b\x85"},
                                             {"room1", "char", "13"},
                                             {"standin", "exit", "0"}};
        standin::CheckLogEntries(entries, expected);
    }
    SUBCASE("what FormatLogEntry writes, ParseLog reads") {
        const LogEntry entry{"stray", "line", "\"\\\xE8"};
        standin::CheckLogEntries(standin::ParseLog(standin::FormatLogEntry(entry, true) + "\n"), {entry});
    }
    SUBCASE("a line that is no entry throws") {
        CHECK_THROWS_AS(standin::ParseLog("garbage\n"), std::runtime_error);
        CHECK_THROWS_AS(standin::ParseLog("room1 settext \"open\n"), std::runtime_error);
    }
}
