// The tool's exit codes.
#pragma once

namespace ExitCode {
constexpr int kClosed = 0;       // the window was closed, by the user or at the session's end
constexpr int kFailedStart = 1;  // the window could not be created
constexpr int kQueueFailed = 2;  // the thread's message queue failed (GetMessage returned -1)
}  // namespace ExitCode
