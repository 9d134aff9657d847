// The classes of the practice room's windows: the chat room's signature as the tool looks for it, each
// class a control of the system's under the signature's name.
#pragma once

#include <windows.h>

namespace practice_room {

enum ClassId { kFrame, kChild, kStatic, kTranscript, kCombobox, kIcon, kInput, kImage, kPane, kClassCount };

// The signature classes in the order of the options (--lacking).
inline constexpr ClassId kSignature[] = {kStatic, kTranscript, kCombobox, kIcon, kInput, kImage};

// As the chat client spells them, and in another capitalisation (--mixed-case).
inline constexpr const char* kClassNames[2][kClassCount] = {
    {"AOL Frame25", "AOL Child", "_AOL_Static", "RICHCNTLREADONLY", "_AOL_Combobox", "_AOL_Icon", "RICHCNTL",
     "_AOL_Image", "PracticeRoomPane"},
    {"aOl fRAME25", "aol CHILD", "_aol_STATIC", "RichCntlReadOnly", "_Aol_ComboBox", "_aOL_iCON", "richCntl",
     "_AoL_ImAgE", "PracticeRoomPane"}};

using ClassNames = const char* const*;

// Registers name as a superclass of the system's ANSI class base, so that user32 does all that the control
// does: proc (nullptr: the base's own) gets the messages, and calls the base's procedure, which this returns,
// with CallWindowProc. ANSI, so that an input box logs the bytes as sent. Throws std::runtime_error.
WNDPROC RegisterSuperclass(HINSTANCE instance, const char* base, const char* name, WNDPROC proc);

}  // namespace practice_room
