// Where a program meets user32 at the top: its message loop, the guard that keeps an exception out of a window
// procedure, and the box that reports a failure once the loop has ended. Both programs run these.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string_view>

// What a program does with a message before it is translated and dispatched (the dialog manager's keys, the
// MDI accelerators): true when it has taken the message.
using MessageStep = std::function<bool(MSG&)>;

// GetMessage returned -1: the queue failed, which is no quiet end. Under Wine a message of more than about
// 1 MiB sent from another process does it; the last error says nothing reliable there (0 or 5).
struct MessageQueueFailed : std::runtime_error {
    MessageQueueFailed() : std::runtime_error("GetMessage returned -1") {}
};

// The message, unless step takes it, translated and dispatched: by the main loop and by a pump inside a
// handler alike.
void DispatchMessageAfter(MSG& message, const MessageStep& step);

// Runs the thread's message loop until WM_QUIT and returns its exit code. Throws MessageQueueFailed.
int RunMessageLoop(const MessageStep& step);

// No exception may cross a window procedure: user32 is C. Runs body; what it throws goes to report as text.
template <class Body, class Report>
void Guarded(Body&& body, Report&& report) noexcept {
    try {
        body();
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("unknown failure");
    }
}

// The text (ANSI) in an error box with caption, shown once the loop has ended: started from Explorer a program
// has no console. A WM_QUIT still queued would end the box at once: it is taken first. A hidden or minimized
// owner would keep the box hidden with it: then it has none. Throws nothing.
void ShowErrorBox(HWND owner, const wchar_t* caption, std::string_view text) noexcept;
