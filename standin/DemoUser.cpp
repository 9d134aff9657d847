// demo_user.exe acts as the user in scripts/demo: it sets two colours, types a line and a handle,
// presses "Send" and "load it", later closes the tool, and prints the lines that the room posted (UTF-8).
//   demo_user act LOG     arrange the windows, use the tool, print the room's lines
//   demo_user close LOG   close the tool, print the lines it posted on closing, close the room
#include "Form1Ids.h"
#include "LogFormat.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

HWND WaitForWindow(const wchar_t* windowClass) {
    for (int i = 0; i < 600; ++i) {
        if (HWND window = FindWindowW(windowClass, nullptr); window && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    throw std::runtime_error("no window of class " + std::string(windowClass, windowClass + wcslen(windowClass)));
}

std::vector<std::string> PostedLines(const char* logPath) {
    std::ifstream file(logPath, std::ios::binary);
    if (!file) throw std::runtime_error(std::string("cannot read ") + logPath);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    for (const standin::LogEntry& entry : standin::ParseLog(text))
        if (entry.kind == "line") lines.push_back(entry.payload);
    return lines;
}

void PrintLines(const std::vector<std::string>& lines, std::size_t from) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string& ansi = lines[i];
        std::wstring wide(ansi.size(), L'\0');
        if (!ansi.empty())
            wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), wide.data(), int(wide.size())));
        std::string utf8(wide.size() * 3, '\0');
        if (!wide.empty())
            utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), int(utf8.size()),
                                            nullptr, nullptr));
        std::printf("room: %s\n", utf8.c_str());
    }
    std::fflush(stdout);
}

void MoveBar(HWND form, int id, int position) {
    SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
}

void Click(HWND form, int id) {
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
}

void Act(const char* logPath) {
    const HWND room = WaitForWindow(L"AOL Frame25");
    const HWND form = WaitForWindow(Form1Ids::kClassName);
    // Side by side, as a user would place them.
    SetWindowPos(form, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(room, nullptr, 230, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // Orange (255, 96, 0) to sky blue (0, 160, 255).
    MoveBar(form, Form1Ids::red1, 255);
    MoveBar(form, Form1Ids::green1, 96);
    MoveBar(form, Form1Ids::Green2, 160);
    MoveBar(form, Form1Ids::Blue2, 255);
    SetDlgItemTextW(form, Form1Ids::Text1, L"Quenlow fades this line from orange to sky blue");
    SetDlgItemTextW(form, Form1Ids::Text2, L"DemoUser");
    Click(form, Form1Ids::Command1);
    Click(form, Form1Ids::Command2);
    PrintLines(PostedLines(logPath), 0);
}

void Close(const char* logPath) {
    const std::size_t before = PostedLines(logPath).size();
    const HWND form = FindWindowW(Form1Ids::kClassName, nullptr);
    if (form) PostMessageW(form, WM_CLOSE, 0, 0);
    for (int i = 0; i < 600 && FindWindowW(Form1Ids::kClassName, nullptr); ++i) Sleep(50);
    if (FindWindowW(Form1Ids::kClassName, nullptr)) throw std::runtime_error("the tool did not close");
    PrintLines(PostedLines(logPath), before);
    if (HWND room = FindWindowW(L"AOL Frame25", nullptr)) PostMessageW(room, WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc == 3 ? argv[1] : "";
        if (command == "act") Act(argv[2]);
        else if (command == "close") Close(argv[2]);
        else {
            std::fprintf(stderr, "usage: demo_user act|close LOG\n");
            return 2;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo_user: %s\n", error.what());
        return 1;
    }
}
