// ParseChatMarkup over a megabyte of what a hostile line may hold, beside a megabyte of plain letters.
#include "ChatMarkup.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t kSize = 1 << 20;

// Tags, the i-th holding text(i), each before an "x", up to kSize characters.
template <class Text>
std::u16string Tagged(std::u16string_view open, Text text, std::u16string_view close) {
    std::u16string markup;
    for (std::size_t i = 0; markup.size() < kSize; ++i) {
        markup += open;
        for (char c : text(i)) markup += static_cast<char16_t>(c);
        markup += close;
        markup += u'x';
    }
    markup.resize(kSize);
    return markup;
}

void Parse(benchmark::State& state, const std::u16string& markup) {
    for (auto _ : state) benchmark::DoNotOptimize(practice_room::ParseChatMarkup(markup));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

}  // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, std::u16string> inputs[] = {
        {"letters", std::u16string(kSize, u'x')},
        {"unclosed <", std::u16string(kSize, u'<')},
        {"nested font tags",
         Tagged(u"<font color=#", [](std::size_t i) { return std::string(6, "0123456789ABCDEF"[i % 16]); }, u">")},
        {"one long attribute value",  // a single tag: kSize characters in all
         Tagged(u"<font face=\"", [](std::size_t) { return std::string(kSize - 15, 'a'); }, u"\">")},
        {"distinct faces", Tagged(u"<font face=\"f", [](std::size_t i) { return std::to_string(i); }, u"\">")},
    };
    for (const auto& [name, markup] : inputs)
        benchmark::RegisterBenchmark(name, Parse, markup)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
