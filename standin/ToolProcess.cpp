#include "ToolProcess.h"

#include "Form1Ids.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr unsigned kSendTimeoutMs = 10000;

std::string Narrow(std::wstring_view text) { return std::string(text.begin(), text.end()); }

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + " (system error " + std::to_string(GetLastError()) + ")");
}

// A host path under Wine: its drive Z: is the host's root.
std::wstring WindowsPath(std::wstring path) {
    if (path.starts_with(L'/')) path.insert(0, L"Z:");
    return path;
}

struct WindowsOf {
    DWORD processId;
    HWND except;
    std::vector<std::wstring> classes;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowsOf*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && window != search.except && IsWindowVisible(window)) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        search.classes.emplace_back(name);
    }
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

ToolProcess::ToolProcess(std::wstring exe, unsigned timeoutMs) {
    exe = WindowsPath(std::move(exe));
    std::wstring commandLine = L"\"" + exe + L"\"";
    // Shown without taking the focus from the chat room, so that its input box gets no focus traffic.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        Fail("cannot start " + Narrow(exe));
    process_ = info.hProcess;
    thread_ = info.hThread;
    processId_ = info.dwProcessId;

    // Another test's tool may still be on the desktop: the window must be this process's.
    const auto shown = [this] {
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, Form1Ids::kClassName, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId_ && IsWindowVisible(window)) {
                window_ = window;
                return true;
            }
        }
        return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    };
    if (!WaitUntil(shown, timeoutMs) || !window_) {
        TerminateProcess(process_, 1);
        CloseHandle(thread_);
        CloseHandle(process_);
        process_ = nullptr;
        throw std::runtime_error("the tool did not show its window");
    }
}

ToolProcess::~ToolProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kSendTimeoutMs);
    }
    CloseHandle(thread_);
    CloseHandle(process_);
}

LRESULT ToolProcess::Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result))
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

int ToolProcess::BarPosition(int id) const { return static_cast<int>(Send(Item(id), SBM_GETPOS, 0, 0)); }

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
    if (SuspendThread(thread_) == static_cast<DWORD>(-1)) Fail("cannot hold the tool's thread");
    try {
        post();
    } catch (...) {
        ResumeThread(thread_);
        throw;
    }
    ResumeThread(thread_);
}

int ToolProcess::WaitForExit(unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process_, 1) != WAIT_OBJECT_0) {
        Reports();
        if (GetTickCount() - start > timeoutMs) {
            throw std::runtime_error("the tool still runs " + std::to_string(timeoutMs) + " ms later; reports:" +
                                     reports_);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

std::string ToolProcess::Reports() {
    WindowsOf search{processId_, window_, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    for (const std::wstring& name : search.classes) {
        const std::string report = " " + Narrow(name);
        if (reports_.find(report) == std::string::npos) reports_ += report;
    }
    return reports_;
}
