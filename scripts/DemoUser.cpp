// demo_user.exe is the user of scripts/demo. It starts the practice room and the tool, sends three lines,
// each faded between two colours of its own, types a handle and presses "load it", one at a time, and prints
// the lines the room shows (UTF-8); once the file DONE exists (the script's screenshots are taken) it closes
// the tool and prints the unload lines.   demo_user DONE
#include "AnsiText.h"
#include "Form1Ids.h"
#include "PracticeRoomProcess.h"
#include "ToolProcess.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

constexpr unsigned kTimeoutMs = 20000;

using namespace Form1Ids;

// The lines sent, each with its start and end colours as the bars set them; the last one's stay on the bars.
struct Fade {
    int bars[6];  // red1, green1, blue1, Red2, Green2, Blue2
    const wchar_t* text;
};
constexpr Fade kFades[] = {
    {{255, 0, 0, 255, 210, 0}, L"red to gold, a colour a character"},
    {{150, 0, 255, 0, 200, 120}, L"violet into sea green"},
    {{255, 96, 0, 0, 160, 255}, L"Quenlow fades this line from orange to sky blue"},
};
constexpr int kBars[] = {red1, green1, blue1, Red2, Green2, Blue2};

std::vector<std::string> PostedLines(const PracticeRoomProcess& chat) {
    std::vector<std::string> lines;
    for (const practice_room::LogEntry& entry : chat.WindowEntries())
        if (entry.kind == "line") lines.push_back(entry.payload);
    return lines;
}

// Waits for the room's count-th line and prints the lines from the from-th on.
void PrintLines(const PracticeRoomProcess& chat, std::size_t from, std::size_t count) {
    if (!WaitUntil([&] { return PostedLines(chat).size() >= count; }, kTimeoutMs))
        throw std::runtime_error("the room did not post the lines");
    const std::vector<std::string> lines = PostedLines(chat);
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::u16string text = FromAnsi(lines[i]);
        std::string utf8(text.size() * 3, '\0');
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()),
                                        utf8.data(), int(utf8.size()), nullptr, nullptr));
        std::printf("room: %s\n", utf8.c_str());
    }
    std::fflush(stdout);
}

void Run(const wchar_t* done) {
    PracticeRoomProcess chat({});
    ToolProcess tool;
    // Side by side, as a user would place them.
    SetWindowPos(tool.Window(), nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(FindWindowW(L"AOL Frame25", nullptr), nullptr, 230, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // Each click waits for its lines, so that the room shows them in this order.
    std::size_t shown = 0;
    for (const Fade& fade : kFades) {
        for (int k = 0; k < 6; ++k) tool.MoveBar(kBars[k], fade.bars[k]);
        tool.SetText(Text1, fade.text);
        tool.PostClick(Command1);
        PrintLines(chat, shown, shown + 1);
        ++shown;
    }
    tool.SetText(Text2, L"DemoUser");
    tool.PostClick(Command2);
    PrintLines(chat, shown, shown + 2);

    std::printf("demo_user: ready for the screenshots\n");
    std::fflush(stdout);
    if (!WaitUntil([&] { return GetFileAttributesW(done) != INVALID_FILE_ATTRIBUTES; }, 60000))
        throw std::runtime_error("no screenshots were taken");

    tool.PostClose();
    PrintLines(chat, shown + 2, shown + 4);
    if (tool.WaitForExit() != 0 || !tool.Reports().empty()) throw std::runtime_error("the tool did not end cleanly");
    chat.Stop();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_user DONE\n");
        return 2;
    }
    try {
        Run(argv[1]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo_user: %s\n", error.what());
        return 1;
    }
}
