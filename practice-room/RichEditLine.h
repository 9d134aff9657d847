// The transcript's lines into the system's rich edit control, which needs nothing else of the practice room
// (Windows only).
#pragma once

#include "ChatMarkup.h"
#include "TranscriptLines.h"

#include <windows.h>

#include <vector>

namespace practice_room {

// Puts the runs at the end of the control's text as one RTF stream written over a base format (the
// transcript's own face at 10 points, black, no back colour, no effects), each face as the system draws
// it: faces it lacks share one, which keeps the control's formats few however many faces a room is sent. A
// face that LineRtf leaves out is then set on its runs. afterLine: a line break first. Leaves the selection at
// the end; throws std::runtime_error if the control does not take the whole line.
void InsertLine(HWND richEdit, std::vector<MarkupRun> line, bool afterLine);

// Readies a read-only multiline rich edit control for a transcript: room for all the lines kept, no undo, the
// base format as its default, wrapped rows indented.
void SetUpTranscriptControl(HWND richEdit);

// Adds a shown line at the end of a transcript that holds the kept lines, and drops the oldest lines when
// kept says so. The view follows the end if it showed the end; else the reader keeps the view, and a
// selection stays on its text.
void AppendLine(HWND richEdit, KeptLines& kept, const std::vector<MarkupRun>& line);

}  // namespace practice_room
