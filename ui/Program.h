// What the program does from start to end, as a function: WinMain calls it, and tests run it in process.
#pragma once

#include "WindowManager.h"

// The tool's exit codes.
namespace ExitCode {
constexpr int kClosed = 0;       // the window was closed, by the user or at the session's end
constexpr int kFailedStart = 1;  // the window could not be created
constexpr int kQueueFailed = 2;  // the thread's message queue failed (GetMessage returned -1)
}  // namespace ExitCode

// Creates and shows Form1 on desktop and runs the message loop until the window has gone; returns the exit
// code. A failed start or a failed queue is reported in a message box that stays until the user answers it.
int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand);

// Runs the thread's message loop until WM_QUIT and returns its exit code; keys move the focus as in a dialog.
// Throws std::runtime_error when the queue fails.
int RunMessageLoop();
