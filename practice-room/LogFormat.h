// The practice room's log: one entry a line, "<source> <kind>[ <payload>]". Quoted payloads are byte
// strings: printable ASCII as it is, '"' and '\' behind a backslash, every other byte as \xHH (upper-case).
// Sources are the input boxes (room1.., lack1.., nested, stray) and "practice-room".
//   practice-room ready <pid>        every window exists and is shown
//   <box> settext "<bytes>"          WM_SETTEXT with this ANSI text ("settext null" for no pointer)
//   <box> char <code>                WM_CHAR, whoever sent or posted it
//   <box> msg 0x<msg> 0x<wp> 0x<lp>  any other message sent to the box from another thread
//   <box> line "<bytes>"             the box submitted this text as a line (after Enter or Send)
//   practice-room error "<text>"     a failure; the practice room ends with exit code 3
//   practice-room exit <code>        it ends (after WM_CLOSE to the frame, to a room or to the stray
//                                    window; 0 unless it failed)
// After a failure nothing logs "ready".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

struct LogEntry {
    std::string source;   // "practice-room", or the window that received or submitted: "room1", "stray", ...
    std::string kind;     // "ready", "exit", "error", "settext", "char", "msg", "line"
    std::string payload;  // unquoted bytes for quoted payloads, else the rest of the line as it is

    bool operator==(const LogEntry&) const = default;
};

std::string QuoteBytes(std::string_view bytes);
// The bytes of a quoted text, or nothing when it is not one.
std::optional<std::string> UnquoteBytes(std::string_view quoted);

// One line of the log, without its line break.
std::string FormatLogEntry(const LogEntry& entry, bool quoted);
// Parses the complete lines of text; a last line without its line break is still being written and
// is left out. Throws std::runtime_error for a line that is not an entry.
std::vector<LogEntry> ParseLog(std::string_view text);

}  // namespace practice_room
