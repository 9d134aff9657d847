// quenlow.exe run as a separate process and driven as its user would drive it, through window messages.
#pragma once

#include "Process.h"

#include <functional>
#include <string>
#include <string_view>

class ToolProcess {
public:
    // Starts quenlow.exe and returns once its window is shown. Throws std::runtime_error if it is not
    // shown within timeoutMs. The tool is ended forcibly when this goes, if it still runs.
    explicit ToolProcess(unsigned timeoutMs = 20000);
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    HWND Window() const { return window_; }
    const ChildProcess& Process() const { return process_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }

    // Sent: each returns once the tool has handled the message, and throws if it has not within a bound.
    void SetText(int id, std::wstring_view text) const;
    void MoveBar(int id, int position) const;
    // Log-off or shut-down as the system tells a window: WM_QUERYENDSESSION, then WM_ENDSESSION with
    // ending (false: the end was cancelled). Returns the answer to the query (true: the session may end).
    bool EndSession(bool ending) const;

    // Posted: they queue in order and run when the tool next takes its messages, which may be
    // inside a delivery that is still searching for the chat room.
    void PostClick(int id) const;
    void PostMoveBar(int id, int position) const;
    // Selects the box's whole text and types text over it.
    void PostTyping(int id, std::wstring_view text) const;
    void PostClose() const;
    // The two messages of EndSession, posted.
    void PostEndSession(bool ending) const;
    // Runs post (Post... calls) with the tool's thread held, so that all its messages are queued
    // before the tool takes the first: the later ones then find the first one's handler running.
    void PostTogether(const std::function<void()>& post) const;

    // The exit code once the tool has ended by itself; throws if it still runs after timeoutMs.
    // Watches for reports while it waits: a pending WM_QUIT ends a message box at once.
    int WaitForExit(unsigned timeoutMs = 10000);
    // The class names of the tool's visible top-level windows other than Form1 (message boxes) seen
    // now or while waiting for the exit, one after a space each; empty when there were none.
    std::string Reports();

private:
    LRESULT Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;
    void Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;

    ChildProcess process_;
    HWND window_ = nullptr;
    std::string reports_;
};
