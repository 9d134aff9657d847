// The cost of adding one line to the practice room's transcript, with 0, 100 and 1,000 lines already held:
// the delivery, the line's way into the transcript, and the paint that shows it. Runs against the practice
// room as another process (scripts/bench-transcript); not part of the tests.
#include "PracticeRoomProcess.h"
#include "User32WindowManager.h"
#include "VeskFade.h"
#include "tarvix_aol8.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A fade of 40 characters: 40 runs of one character.
std::u16string FadeLine() {
    return VeskFade::FadeBetweenColors(255, 16711680, u"Forty characters of a line in the room..");
}

// 2,000 characters in two colours by turns: 2,000 runs.
std::u16string ManyRunsLine() {
    std::u16string line;
    for (int i = 0; i < 2000; ++i) line += i % 2 ? u"<Font Color=#AA0055>x" : u"<Font Color=#0055AA>y";
    return line;
}

class Room {
public:
    Room() : chat_({}) {
        const auto room = reinterpret_cast<HWND>(tarvix_aol8::LocateChatRoom(desktop_));
        transcript_ = FindWindowExW(room, nullptr, L"RICHCNTLREADONLY", nullptr);
        if (!transcript_) throw std::runtime_error("the practice room has no transcript");
    }
    // Delivered, taken into the transcript and painted: the room has handled every message sent since.
    double Add(const std::u16string& line) {
        const double start = Now();
        tarvix_aol8::DeliverChatLine(desktop_, line);
        RedrawWindow(transcript_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageW(transcript_, WM_NULL, 0, 0);
        return Now() - start;
    }

private:
    PracticeRoomProcess chat_;
    tarvix_aol8::User32WindowManager desktop_;
    HWND transcript_ = nullptr;
};

// "median (slowest)" in milliseconds.
std::string Figures(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    char text[48];
    std::snprintf(text, sizeof text, "%.1f (%.1f)", times[times.size() / 2] * 1e3, times.back() * 1e3);
    return text;
}

}  // namespace

int main() {
    try {
        const std::u16string fade = FadeLine(), manyRuns = ManyRunsLine();
        std::printf("ms a line, median (slowest)\n%6s %22s %22s\n", "held", "40-run line", "2,000-run line");
        for (int held : {0, 100, 1000}) {
            Room room;
            for (int i = 0; i < held; ++i) room.Add(fade);
            std::vector<double> fadeTimes, manyRunTimes;
            for (int i = 0; i < 9; ++i) fadeTimes.push_back(room.Add(fade));
            for (int i = 0; i < 5; ++i) manyRunTimes.push_back(room.Add(manyRuns));
            std::printf("%6d %22s %22s\n", held, Figures(fadeTimes).c_str(), Figures(manyRunTimes).c_str());
            std::fflush(stdout);
        }
        // The floods: lines of 2,000 faces never seen before, then one of 200,000 '<'.
        Room room;
        std::vector<double> faceTimes;
        for (int line = 0, face = 0; line < 50; ++line) {
            std::string markup;
            for (int i = 0; i < 2000; ++i) markup += "<font face=\"f" + std::to_string(face++) + "\">x";
            faceTimes.push_back(room.Add(std::u16string(markup.begin(), markup.end())));
        }
        const double lessThans = room.Add(std::u16string(200000, u'<'));
        std::printf("flood: 50 lines of 2,000 new faces %s ms a line; a line of 200,000 '<' %.1f ms\n",
                    Figures(faceTimes).c_str(), lessThans * 1e3);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "transcript_bench: %s\n", e.what());
        return 1;
    }
}
