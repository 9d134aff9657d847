// A transcript line as the RTF that the rich edit control takes in.
#pragma once

#include "ChatMarkup.h"

#include <string>
#include <string_view>
#include <vector>

namespace practice_room {

// The base format's face: the transcript's own.
inline constexpr char16_t kBaseFace[] = u"Arial";
// The transcript's paragraphs: rows after a line's first one stand in by this much (twips).
inline constexpr int kWrapIndent = 240;

// Whether LineRtf writes a run's face: only a name in printable ASCII. Wine's reader takes a face name in the
// ANSI code page and keeps only what follows its last \uN; a run in another face shows the base face.
bool FaceInRtf(std::u16string_view face);

// The runs as one RTF document to stream into the control at its end: each run in what sets it apart from the
// control's base format (kBaseFace, size 2, black, no back colour, no effects): its face (if FaceInRtf), its
// size (1 to 7 in points 8, 10, 12, 14, 18, 24 and 36), its colours and effects; wrapped rows indented. A
// run's characters are only ever text: RTF's own characters ("\", "{", "}") and every character outside
// printable ASCII are escaped, so that nothing in a line is read as a control word, a group or an object.
// afterLine: a line break comes first. It ends the line before as a paragraph of the transcript (kWrapIndent),
// since a reader gives a paragraph its properties at the \par that ends it; the line's own paragraph takes
// them from the one before it.
std::string LineRtf(const std::vector<MarkupRun>& runs, bool afterLine);

}  // namespace practice_room
