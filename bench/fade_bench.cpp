// FadeBetweenColors beside a memcpy of the same output into a fresh buffer, and the fade's peak memory.
#include "VeskFade.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>

namespace {

std::size_t allocations = 0;
std::size_t allocatedBytes = 0;

// Every channel changes, about 200 colours over the text.
constexpr VeskFade::ColorValue kStart = 0x10E0F0;
constexpr VeskFade::ColorValue kEnd = 0xF02010;
constexpr std::int64_t kLengths[] = {10, 30, 1'000, 100'000, 10'000'000};

std::u16string randomText(std::size_t n) {
    std::mt19937 random(7);
    std::u16string text(n, u' ');
    for (char16_t& c : text) {
        c = static_cast<char16_t>(u' ' + random() % 95);
    }
    return text;
}

void fade(benchmark::State& state) {
    const std::u16string text = randomText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::u16string markup = VeskFade::FadeBetweenColors(kStart, kEnd, text);
        benchmark::DoNotOptimize(markup.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void copy(benchmark::State& state) {
    const std::u16string markup =
        VeskFade::FadeBetweenColors(kStart, kEnd, randomText(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        std::unique_ptr<char16_t[]> out(new char16_t[markup.size()]);
        std::memcpy(out.get(), markup.data(), sizeof(char16_t) * markup.size());
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Keeps the fastest repetition of each benchmark; the table comes at the end.
class FastestRuns : public benchmark::BenchmarkReporter {
public:
    std::map<std::string, double> nanosecondsPerCall;

    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            const double ns = run.GetAdjustedRealTime();
            const auto found = nanosecondsPerCall.find(name);
            nanosecondsPerCall[name] = found == nanosecondsPerCall.end() ? ns : std::min(found->second, ns);
        }
    }
};

long maxRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Heap and resident memory added by one fade of n characters; run first, before the benchmarks
// raise the process's peak.
void reportPeakMemory(std::size_t n) {
    const std::u16string text = randomText(n);
    const long rssBefore = maxRssKilobytes();
    const std::size_t allocationsBefore = allocations;
    const std::size_t bytesBefore = allocatedBytes;
    const std::size_t resultBytes = sizeof(char16_t) * VeskFade::FadeBetweenColors(kStart, kEnd, text).size();
    std::printf("memory, n = %zu: result %.1f MB; the call allocated %.1f MB in %zu block(s); peak RSS grew %.1f MB\n",
                n, resultBytes / 1e6, (allocatedBytes - bytesBefore) / 1e6, allocations - allocationsBefore,
                (maxRssKilobytes() - rssBefore) * 1024 / 1e6);
}

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    allocatedBytes += size;
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

int main(int argc, char** argv) {
    reportPeakMemory(10'000'000);
    // --reuse-pages: keep freed blocks in the heap, so that large results stop paying a page fault
    // per 4 KiB on every call and the per-character cost of the work itself shows.
    if (argc > 1 && std::strcmp(argv[argc - 1], "--reuse-pages") == 0) {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
        std::printf("freed memory stays in the heap (--reuse-pages)\n");
        --argc;
    }
    for (const std::int64_t n : kLengths) {
        benchmark::RegisterBenchmark("fade", fade)->Arg(n);
        benchmark::RegisterBenchmark("memcpy", copy)->Arg(n);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    FastestRuns runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    benchmark::Shutdown();

    std::printf("%10s %14s %14s %12s %12s %12s\n", "n", "fade Mchar/s", "memcpy Mchar/s", "fade ns/ch", "memcpy ns/ch",
                "fade/memcpy");
    for (const std::int64_t n : kLengths) {
        const std::string arg = std::to_string(n);
        if (!runs.nanosecondsPerCall.contains("fade/" + arg) || !runs.nanosecondsPerCall.contains("memcpy/" + arg)) {
            continue;
        }
        const double fadeNs = runs.nanosecondsPerCall["fade/" + arg] / n;
        const double copyNs = runs.nanosecondsPerCall["memcpy/" + arg] / n;
        std::printf("%10lld %14.1f %14.1f %12.3f %12.3f %12.2f\n", static_cast<long long>(n), 1e3 / fadeNs,
                    1e3 / copyNs, fadeNs, copyNs, fadeNs / copyNs);
    }
    return 0;
}
