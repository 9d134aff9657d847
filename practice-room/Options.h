// practice-room.exe's command line.
//
// A user starts it without options; they are there for the tests, the benchmarks and the demo.
// Options (document windows are listed front to back: decoys, lacking, nested, then the rooms):
//   --rooms N        chat rooms "Chat Room 1".."Chat Room N", room 1 nearest the front (default 1)
//   --decoys N       N document windows in front, with only "_AOL_Static" and "RICHCNTLREADONLY"
//   --lacking        six document windows in front, lack1..lack6, each without one of the six
//                    classes in the order above (lack5 has no input box)
//   --grandchildren  one document window in front, "nested", with the six classes only among its
//                    grandchildren
//   --mixed-case     every class registered in another capitalisation ("aOl fRAME25", "richCntl", ...)
//   --no-frame       no frame, no MDI area and no document windows
//   --stray          a top-level window of class "RICHCNTL", "stray"
//   --typed TEXT     TEXT already stands in every input box (as if the user had typed it)
//   --log FILE       the log of LogFormat.h; FILE is created anew
//   --no-error-box   a bad option or a failure is not shown in a message box before the room ends (a
//                    failure is still logged, and the exit code is the same): for tests, which nobody
//                    answers. It holds even when another option is bad.
// A bad option ends it with exit code 2 before the log is opened; a failure, with exit code 3.
#pragma once

#include <string>

namespace practice_room {

struct Options {
    int rooms = 1;
    int decoys = 0;
    bool lacking = false;
    bool grandchildren = false;
    bool mixedCase = false;
    bool noFrame = false;
    bool stray = false;
    std::wstring typed;
    std::wstring logPath;
    bool errorBox = true;
};

// Throws std::invalid_argument, naming the option, for an unknown option, a missing value or a bad count.
Options ParseOptions(int argc, wchar_t** argv);
// False when --no-error-box is among the arguments, whatever else they hold (ParseOptions stops at a bad one).
bool WantsErrorBox(int argc, wchar_t** argv);
// Short lines: a message box wraps long ones at the hyphens of an option too.
inline constexpr char kUsage[] =
    "usage: practice-room [option...]\n"
    "Options, for testing only:\n"
    "--rooms N, --decoys N, --lacking,\n"
    "--grandchildren, --mixed-case,\n"
    "--no-frame, --stray, --typed TEXT,\n"
    "--log FILE, --no-error-box";

}  // namespace practice_room
