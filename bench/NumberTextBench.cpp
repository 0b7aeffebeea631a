// The number text per call, each beside the bare std::to_chars / std::from_chars call it is built
// on, in the same run; prints the ratios at the end.
#include "core/NumberText.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <string>

using namespace kalvo;

namespace {

constexpr auto De = NumberSeparators::German();

// Amounts as the program meets them: a few digits before and after the point.
constexpr std::array<long double, 8> Values{1234.5L,   0.125L,       19.0L, 84.0336134453781L,
                                            1469.055L, 1234567.891L, 7.7L,  100.836L};
constexpr std::array<const char16_t*, 8> Texts{u"1234,5",  u"0,13",       u"19",  u"84,03",
                                               u"1469,06", u"1234567,89", u"7,7", u"100,84"};
constexpr std::array<const char*, 8> AsciiTexts{"1234.5",  "0.13",       "19",  "84.03",
                                                "1469.06", "1234567.89", "7.7", "100.84"};

void BareToChars(benchmark::State& state)
{
    std::size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, Values[i++ % Values.size()],
                                     std::chars_format::scientific, 17);
        benchmark::DoNotOptimize(r.ptr);
    }
}
BENCHMARK(BareToChars);

void FormatNumberAmount(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatNumber(u",0.00", Values[i++ % Values.size()], De));
}
BENCHMARK(FormatNumberAmount);

void GeneralNumberText15(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(GeneralNumberText(Values[i++ % Values.size()], 15, De));
}
BENCHMARK(GeneralNumberText15);

void BareFromChars(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const char* text = AsciiTexts[i++ % AsciiTexts.size()];
        long double value = 0;
        std::from_chars(text, text + std::char_traits<char>::length(text), value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BareFromChars);

void ReadNumberAmount(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadNumber(Texts[i++ % Texts.size()], De));
}
BENCHMARK(ReadNumberAmount);

// Collects the per-call times so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            Times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* name, const char* bare) {
        const auto a = reporter.Times.find(name), b = reporter.Times.find(bare);
        if (a == reporter.Times.end() || b == reporter.Times.end() || b->second <= 0)
            return;
        std::printf("%-20s / %-14s = %.2fx (target: at most 3x)\n", name, bare,
                    a->second / b->second);
    };
    std::printf("\n");
    ratio("FormatNumberAmount", "BareToChars");
    ratio("GeneralNumberText15", "BareToChars");
    ratio("ReadNumberAmount", "BareFromChars");
    benchmark::Shutdown();
    return 0;
}
