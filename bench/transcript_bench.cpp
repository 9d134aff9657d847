// The cost of adding one line to the practice room's transcript, with 0, 100 and 1,000 lines already held:
// the delivery, the line's way into the transcript, and the paint that shows it, against the practice room
// as another process; then, in this process, the two ways a line's runs can go into the rich edit control, and
// the room's own way with a reader at the end or reading back.
// scripts/bench-transcript; not part of the tests.
#include "PracticeRoomProcess.h"
#include "RichEditLine.h"
#include "TranscriptLines.h"
#include "User32WindowManager.h"
#include "VeskFade.h"
#include "tarvix_aol8.h"

#include <windows.h>

#include <richedit.h>

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

// The other way into the control: EM_SETCHARFORMAT and EM_REPLACESEL for each run.
void InsertRuns(HWND control, const std::vector<practice_room::MarkupRun>& line, bool afterLine) {
    constexpr int kPoints[] = {8, 10, 12, 14, 18, 24, 36};
    const CHARRANGE end{-1, -1};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    if (afterLine) SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r"));
    for (const practice_room::MarkupRun& run : line) {
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE;
        format.dwEffects = (run.bold ? CFE_BOLD : 0) | (run.italic ? CFE_ITALIC : 0) |
                           (run.underline ? CFE_UNDERLINE : 0) | (run.strike ? CFE_STRIKEOUT : 0);
        format.crTextColor = RGB(run.color >> 16, (run.color >> 8) & 0xFF, run.color & 0xFF);
        format.yHeight = kPoints[run.size - 1] * 20;
        const std::u16string face = run.face.empty() ? u"Arial" : run.face;
        face.copy(reinterpret_cast<char16_t*>(format.szFaceName), LF_FACESIZE - 1);
        SendMessageW(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.text.c_str()));
    }
}

// A read-only rich edit control of the transcript's size, shown; each line scrolled into view and painted.
class Control {
public:
    explicit Control(bool rtf) : rtf_(rtf) {
        const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY;
        window_ = CreateWindowExW(0, RICHEDIT_CLASSW, L"", style, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
        if (!window_) throw std::runtime_error("cannot create a rich edit control");
        practice_room::SetUpTranscriptControl(window_);
    }
    ~Control() { DestroyWindow(window_); }
    HWND Window() const { return window_; }
    double Add(const std::u16string& markup) {
        const std::vector<practice_room::MarkupRun> line = practice_room::ShownLine(markup);
        const double start = Now();
        if (rtf_) practice_room::InsertLine(window_, line, !empty_);
        else InsertRuns(window_, line, !empty_);
        SendMessageW(window_, WM_VSCROLL, SB_BOTTOM, 0);
        UpdateWindow(window_);
        empty_ = false;
        return Now() - start;
    }

private:
    bool rtf_, empty_ = true;
    HWND window_ = nullptr;
};

// A line the room's own way (AppendLine) into a control that holds 1,000 lines, painted: with the reader at the
// end, and a number of rows back, where the view comes back to after each line.
void PrintReadingBack(const std::u16string& line) {
    Control control(true);
    practice_room::KeptLines kept;
    const auto add = [&] { practice_room::AppendLine(control.Window(), kept, practice_room::ShownLine(line)); };
    for (int i = 0; i < 1000; ++i) add();
    std::printf("\nin this process, the room's way, 1,000 lines held: ms a line, median (slowest)\n");
    for (const int rows : {0, 20, 2000}) {
        std::vector<double> times;
        for (int i = 0; i < 9; ++i) {
            SendMessageW(control.Window(), WM_VSCROLL, SB_BOTTOM, 0);
            SendMessageW(control.Window(), EM_LINESCROLL, 0, -rows);
            const double start = Now();
            add();
            UpdateWindow(control.Window());
            times.push_back(Now() - start);
        }
        std::printf("%5d rows back %22s\n", rows, Figures(times).c_str());
    }
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
        if (!LoadLibraryW(L"riched20.dll")) throw std::runtime_error("no rich edit control");
        std::printf("\nin this process, ms a line, median (slowest)\n%-12s %6s %22s %22s\n", "way", "held",
                    "40-run line", "2,000-run line");
        for (const bool rtf : {true, false}) {
            for (int held : {0, 100, 1000}) {
                Control control(rtf);
                for (int i = 0; i < held; ++i) control.Add(fade);
                std::vector<double> fadeTimes, manyRunTimes;
                for (int i = 0; i < 9; ++i) fadeTimes.push_back(control.Add(fade));
                // Run by run, a 2,000-run line takes seconds: once, with nothing held.
                const int manyRunLines = rtf ? 5 : held == 0 ? 1 : 0;
                for (int i = 0; i < manyRunLines; ++i) manyRunTimes.push_back(control.Add(manyRuns));
                std::printf("%-12s %6d %22s %22s\n", rtf ? "RTF stream" : "run by run", held,
                            Figures(fadeTimes).c_str(), manyRunTimes.empty() ? "-" : Figures(manyRunTimes).c_str());
                std::fflush(stdout);
            }
        }
        PrintReadingBack(fade);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "transcript_bench: %s\n", e.what());
        return 1;
    }
}
