#include "ToolProcess.h"

#include "Form1Ids.h"

#include <stdexcept>

namespace {

constexpr unsigned kSendTimeoutMs = 10000;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " (system error " + std::to_string(GetLastError()) + ")");
}

}  // namespace

// Shown without taking the focus from the chat room, so that its input box gets no focus traffic.
ToolProcess::ToolProcess(unsigned timeoutMs) : process_(L"" QUENLOW_EXE, {}, SW_SHOWNOACTIVATE) {
    // Another test's tool may still be on the desktop: the window must be this process's.
    const auto shown = [this] {
        for (HWND window : process_.VisibleWindows())
            if (ClassName(window) == Form1Ids::kClassName) window_ = window;
        return window_ || process_.Exited();
    };
    if (!WaitUntil(shown, timeoutMs) || !window_) throw std::runtime_error("the tool did not show its window");
}

LRESULT ToolProcess::Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, TimeScaled(kSendTimeoutMs), &result))
        Fail("the tool did not handle message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

void ToolProcess::Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!PostMessageW(target, message, wParam, lParam)) Fail("cannot post message " + std::to_string(message));
}

void ToolProcess::SetText(int id, std::wstring_view text) const {
    const std::wstring copy(text);
    Send(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

// lParam is the bar: the window tells its six bars apart by it.
void ToolProcess::MoveBar(int id, int position) const {
    Send(window_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(Item(id)));
}

bool ToolProcess::EndSession(bool ending) const {
    const bool answer = Send(window_, WM_QUERYENDSESSION, 0, 0) != FALSE;
    Send(window_, WM_ENDSESSION, ending, 0);
    return answer;
}

void ToolProcess::PostClick(int id) const {
    Post(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void ToolProcess::PostMoveBar(int id, int position) const {
    Post(window_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(Item(id)));
}

void ToolProcess::PostTyping(int id, std::wstring_view text) const {
    const HWND box = Item(id);
    Post(box, EM_SETSEL, 0, -1);
    for (wchar_t c : text) Post(box, WM_CHAR, c, 1);
}

void ToolProcess::PostClose() const { Post(window_, WM_CLOSE, 0, 0); }

void ToolProcess::PostEndSession(bool ending) const {
    Post(window_, WM_QUERYENDSESSION, 0, 0);
    Post(window_, WM_ENDSESSION, ending, 0);
}

void ToolProcess::PostTogether(const std::function<void()>& post) const {
    const HANDLE thread = process_.Thread();
    if (SuspendThread(thread) == static_cast<DWORD>(-1)) Fail("cannot hold the tool's thread");
    const struct Resume {
        HANDLE thread;
        ~Resume() { ResumeThread(thread); }
    } resume{thread};
    // SuspendThread only asks the thread to stop; reading its registers waits until it has.
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    if (!GetThreadContext(thread, &context)) Fail("cannot wait for the tool's thread to stop");
    post();
}

int ToolProcess::WaitForExit(unsigned timeoutMs) {
    try {
        return process_.WaitForExit(timeoutMs, [this] { Reports(); });
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(std::string("the tool: ") + error.what() + "; reports:" + reports_);
    }
}

std::string ToolProcess::Reports() {
    for (HWND window : process_.VisibleWindows()) {
        const std::string report = " " + Narrow(ClassName(window));
        if (window != window_ && reports_.find(report) == std::string::npos) reports_ += report;
    }
    return reports_;
}
