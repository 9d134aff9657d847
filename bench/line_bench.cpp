// The cost of fading one chat line of 30 characters in a Windows build (the shipped one: i686, x87):
// scripts/bench runs it under Wine.
#include "VeskFade.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

int main() {
    const std::u16string line = u"Thirty characters in one line.";
    constexpr int kCalls = 200'000;
    constexpr int kRounds = 5;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double fastest = 1e300;
    std::size_t units = 0;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int k = 0; k < kCalls; ++k) {
            // Every channel changes, as in the native benchmark.
            units += VeskFade::FadeBetweenColors(0x10E0F0, 0xF02010, line).size();
        }
        QueryPerformanceCounter(&end);
        fastest = std::min(fastest, double(end.QuadPart - start.QuadPart) * 1e9 / double(frequency.QuadPart) / kCalls);
    }
    std::printf("fade of a %zu-character line: %.0f ns (fastest of %d rounds of %d calls; %zu units made)\n",
                line.size(), fastest, kRounds, kCalls, units);
    return 0;
}
