// The fixed announcement lines that "load it" and the closing of the window post.
#pragma once

#include <string>
#include <string_view>

namespace Announcements {

// First lines of the two announcements, faded into line A.
extern const std::u16string_view LoadedLine;
extern const std::u16string_view UnloadedLine;

// Line A: the face tag and the faded first line.
std::u16string LineA(std::u16string_view firstLine);

// Line B: the faded version line, the user's handle in bold, the faded trailer.
std::u16string LineB(std::u16string_view handle);

}  // namespace Announcements
