// What every window of the practice room needs, handed to each at its creation: the classes' names and
// instance, the log, the font and the dpi, and the way a failure ends the program.
#pragma once

#include "Classes.h"
#include "Gdi.h"
#include "Log.h"
#include "MessageLoop.h"

#include <windows.h>

#include <string>

namespace practice_room {

struct Context {
    HINSTANCE instance = nullptr;
    ClassNames classNames = kClassNames[0];
    Log log;
    Font font;                 // the system's message font
    int dpi = 96;              // the system's, read once at start-up
    std::string failure;       // the first, shown once the message loop has ended
    int exitCode = 0;

    // A length of the layout, given at 96 dpi, at the system's dpi.
    int Scaled(int at96) const { return MulDiv(at96, dpi, 96); }
    // Logs the failure, ends the message loop and makes the exit code 3.
    void Fail(const char* what) noexcept;
};

// A window procedure's body: what it throws ends the practice room. A failed WM_CREATE answers -1, so that the
// window is not made and its creator learns of it; 0 would leave it half-built.
template <class Body>
LRESULT Guarded(Context& context, UINT message, Body&& body) noexcept {
    LRESULT result = 0;
    ::Guarded([&] { result = body(); }, [&](const char* what) {
        context.Fail(what);
        result = message == WM_CREATE ? -1 : 0;
    });
    return result;
}

}  // namespace practice_room
