// The cost of one delivery as the chat client's desktop grows: N document windows in front of the
// room, each of them a candidate that the locator yields at and runs nine searches on.
// Runs against the practice room; not part of the tests (scripts/bench-delivery).
#include "PracticeRoomProcess.h"
#include "User32WindowManager.h"
#include "tarvix_aol8.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

double Now() {
    static const double period = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * period;
}

// Median seconds of one call over repeats.
template <class Call>
double Median(int repeats, Call call) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        call();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figures {
    int decoys;
    double delivery;
    double locate;
};

Figures Measure(int decoys) {
    PracticeRoomProcess chat({L"--decoys", std::to_wstring(decoys)});
    tarvix_aol8::User32WindowManager desktop;
    const int repeats = decoys >= 1000 ? 9 : 21;
    const std::u16string line = u"<Font Color=#AA0055>a<Font Color=#5500AA>b<Font Color=#0000FF>c";
    for (int i = 0; i < 3; ++i) tarvix_aol8::DeliverChatLine(desktop, line);
    Figures figures{decoys, 0, 0};
    figures.delivery = Median(repeats, [&] { tarvix_aol8::DeliverChatLine(desktop, line); });
    figures.locate = Median(repeats, [&] {
        if (!tarvix_aol8::LocateChatRoom(desktop)) throw std::runtime_error("the practice room's room was not found");
    });
    const auto entries = chat.WindowEntries();
    const auto lines = std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.kind == "line"; });
    if (lines != 3 + repeats || entries.front().source != "room1")
        throw std::runtime_error("the deliveries did not all reach room1");
    return figures;
}

}  // namespace

int main() {
    try {
        std::vector<Figures> all;
        std::printf("%8s %14s %14s %22s\n", "decoys", "delivery ms", "locate ms", "per candidate us");
        for (int decoys : {1, 10, 100, 1000}) {
            all.push_back(Measure(decoys));
            const Figures& f = all.back();
            char step[32] = "-";
            if (all.size() > 1) {
                const Figures& p = all[all.size() - 2];
                std::snprintf(step, sizeof step, "%.1f (from %d)", (f.locate - p.locate) / (f.decoys - p.decoys) * 1e6,
                              p.decoys);
            }
            std::printf("%8d %14.3f %14.3f %22s\n", f.decoys, f.delivery * 1e3, f.locate * 1e3, step);
        }
        // Linear when the cost of a candidate is the same over every stretch of the range.
        const double low = (all[2].locate - all[1].locate) / 90, high = (all[3].locate - all[2].locate) / 900;
        const double overall = (all[3].locate - all[0].locate) / 999;
        std::printf("per candidate: %.1f us overall; 10..100 vs 100..1000: %.2f (1.00 is linear)\n", overall * 1e6,
                    high / low);
        std::printf("delivery minus locate (the five messages, the practice room's log): %.3f ms at 1 decoy\n",
                    (all[0].delivery - all[0].locate) * 1e3);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "delivery_bench: %s\n", e.what());
        return 1;
    }
}
