// The room's other signature classes, each a control of the system's under the signature's name, so that
// user32 does what the control does and screen readers and test tools meet a button, a list and a text:
// "_AOL_Icon" the Send push button, "_AOL_Combobox" the people list (a drop-down list), "_AOL_Static" the
// caption, "_AOL_Image" the emblem (an owner-drawn static).
#pragma once

#include "Context.h"

#include <windows.h>

namespace practice_room {

// Throws std::runtime_error.
void RegisterControlClasses(const Context& context);

// The style of a control of the room beside WS_CHILD and WS_VISIBLE (kStatic, kCombobox, kIcon, kImage).
DWORD ControlStyle(ClassId id);

// Lists who is in the room, the guest, chosen.
void FillPeopleList(HWND list);

// The emblem, for its parent's WM_DRAWITEM.
void DrawEmblem(const DRAWITEMSTRUCT& item, const Context& context);

}  // namespace practice_room
