// Parsing and formatting an alias page: the time per byte should stay flat
// from 10 to 999 aliases and for a page ten times the bytes (linear walk).
#include "lookup/AliasPage.h"

#include "support/AliasPages.h"

#include <benchmark/benchmark.h>

namespace {

// Padding that makes a 999-alias page about ten times its plain size.
constexpr std::size_t kTenfoldRowPadding = 1050;

void parseAndFormat(benchmark::State& state, std::size_t rowPadding) {
    const int aliases = static_cast<int>(state.range(0));
    const std::string page = hh::test::aliasPage(hh::test::numberedNames(aliases), rowPadding);
    const hh::AliasColours colours;
    for (auto _ : state) {
        auto parsed = hh::parseAliasPage(page, 999, colours);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
    state.counters["page_bytes"] = static_cast<double>(page.size());
    // Seconds per byte of page (shown as n for nanoseconds).
    state.counters["s_per_byte"] = benchmark::Counter(
        static_cast<double>(page.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AliasPage(benchmark::State& state) {
    parseAndFormat(state, 0);
}
void BM_AliasPageTenfoldBytes(benchmark::State& state) {
    parseAndFormat(state, kTenfoldRowPadding);
}

BENCHMARK(BM_AliasPage)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AliasPageTenfoldBytes)->Arg(999)->Unit(benchmark::kMicrosecond);

} // namespace
