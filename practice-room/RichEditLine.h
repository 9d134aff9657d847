// A line of the transcript into the system's rich edit control, which needs nothing else of the practice
// room (Windows only).
#pragma once

#include "ChatMarkup.h"

#include <windows.h>

#include <vector>

namespace practice_room {

// Puts the runs at the end of the control's text as one RTF stream written over a base format (the
// transcript's own face at 10 points, black, no back colour, no effects), each face as the system draws
// it: faces it lacks share one, which keeps the control's formats few however many faces a room is sent.
// afterLine: a line break first. Leaves the selection at the end; throws std::runtime_error if the control
// does not take the whole line.
void InsertLine(HWND richEdit, std::vector<MarkupRun> line, bool afterLine);

}  // namespace practice_room
