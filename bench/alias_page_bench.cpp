// Parsing and formatting an alias page: the time per byte should stay flat
// from 10 to 999 aliases and for a page ten times the bytes (linear walk).
#include "lookup/AliasList.h"
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

// The whole answer the player gets: the page parsed, then the list cut into
// the pages "/hh more" walks (150 names a page, each within four parts).
void BM_AliasAnswerPages(benchmark::State& state) {
    const std::string page = hh::test::aliasPage(hh::test::numberedNames(999));
    const hh::AliasColours colours;
    for (auto _ : state) {
        const auto answer = hh::aliasListAnswer(hh::parseAliasPage(page, 150, colours),
                                                "GUID# '1a2b3c4d'", 150, colours, false);
        benchmark::DoNotOptimize(answer);
    }
}

BENCHMARK(BM_AliasAnswerPages)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AliasPage)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AliasPageTenfoldBytes)->Arg(999)->Unit(benchmark::kMicrosecond);

} // namespace
