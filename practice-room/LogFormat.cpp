#include "LogFormat.h"

#include "HexDigit.h"

#include <stdexcept>

namespace practice_room {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The value of a quoted byte's hex digit, or -1.
int HexValue(char c) { return HexDigitValue(static_cast<unsigned char>(c)); }

}  // namespace

std::string QuoteBytes(std::string_view bytes) {
    std::string quoted;
    quoted.reserve(bytes.size() + 2);
    quoted.push_back('"');
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
            quoted.push_back(c);
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted.push_back(c);
        } else {
            quoted += "\\x";
            quoted.push_back(kHex[byte >> 4]);
            quoted.push_back(kHex[byte & 15]);
        }
    }
    quoted.push_back('"');
    return quoted;
}

std::optional<std::string> UnquoteBytes(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return std::nullopt;
    quoted = quoted.substr(1, quoted.size() - 2);
    std::string bytes;
    bytes.reserve(quoted.size());
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') return std::nullopt;
        if (c != '\\') {
            bytes.push_back(c);
            continue;
        }
        if (++i == quoted.size()) return std::nullopt;
        if (quoted[i] == '"' || quoted[i] == '\\') {
            bytes.push_back(quoted[i]);
        } else if (quoted[i] == 'x' && i + 2 < quoted.size() && HexValue(quoted[i + 1]) >= 0 &&
                   HexValue(quoted[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(quoted[i + 1]) * 16 + HexValue(quoted[i + 2])));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

std::string FormatLogEntry(const LogEntry& entry, bool quoted) {
    std::string line = entry.source + ' ' + entry.kind;
    if (quoted) {
        line += ' ';
        line += QuoteBytes(entry.payload);
    } else if (!entry.payload.empty()) {
        line += ' ';
        line += entry.payload;
    }
    return line;
}

std::vector<LogEntry> ParseLog(std::string_view text) {
    std::vector<LogEntry> entries;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t kindStart = line.find(' ');
        if (kindStart == 0 || kindStart == std::string_view::npos)
            throw std::runtime_error("not a practice room log entry: " + std::string(line.substr(0, 80)));
        const std::size_t payloadStart = line.find(' ', kindStart + 1);
        LogEntry entry{std::string(line.substr(0, kindStart)),
                       std::string(line.substr(kindStart + 1, payloadStart - kindStart - 1)), {}};
        if (payloadStart != std::string_view::npos) {
            const std::string_view payload = line.substr(payloadStart + 1);
            if (!payload.empty() && payload.front() == '"') {
                auto bytes = UnquoteBytes(payload);
                if (!bytes) throw std::runtime_error("bad quoted text in the practice room log: " + std::string(line.substr(0, 80)));
                entry.payload = std::move(*bytes);
            } else {
                entry.payload = payload;
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace practice_room
