// The service's speed targets, measured over real loopback HTTP against an
// SQLite file in a temporary folder: a GUID page of 999 aliases (under 5 ms) and ingest of
// sightings (at least 1,000 per second).
#include "HtmlPages.h"
#include "Service.h"

#include <benchmark/benchmark.h>

namespace hh::aliasdb {
namespace {

std::string sightings(int count, int round) {
    std::string json = "[";
    for (int i = 0; i < count; ++i) {
        if (i)
            json += ',';
        json += R"({"guid":"1a2b3c4d","name":"Player )" + std::to_string(round) + "-" +
                std::to_string(i) + R"(","mod":"osp"})";
    }
    return json + "]";
}

std::vector<Sighting> aliases999() {
    std::vector<Sighting> batch;
    for (int i = 0; i < 999; ++i)
        batch.push_back(
            {"abcdabcd", "Some Alias Name " + std::to_string(i), 1796479200 - i, "osp"});
    return batch;
}

void BM_GuidPage999Aliases(benchmark::State& state) {
    test::RunningService service;
    std::string error;
    if (!service.store().record(aliases999(), error))
        state.SkipWithError(error.c_str());
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto reply = test::httpGet(service.port(), "/?guid=abcdabcd");
        if (reply.status != 200)
            state.SkipWithError("page not served");
        bytes = reply.body.size();
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GuidPage999Aliases)->Unit(benchmark::kMillisecond)->UseRealTime();

// The service's own share of the page: query and HTML, no sockets.
void BM_GuidPage999QueryAndRender(benchmark::State& state) {
    test::RunningService service;
    std::string error;
    if (!service.store().record(aliases999(), error))
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        std::vector<AliasRow> rows;
        service.store().aliasesOf("abcdabcd", AliasService::kMaxAliasesShown, rows, error);
        benchmark::DoNotOptimize(aliasPage("abcdabcd", rows));
    }
}
BENCHMARK(BM_GuidPage999QueryAndRender)->Unit(benchmark::kMillisecond);

// Sightings per second, posted `range(0)` to a request.
void BM_IngestSightings(benchmark::State& state) {
    test::RunningService service;
    const int perRequest = static_cast<int>(state.range(0));
    int round = 0;
    for (auto _ : state) {
        if (test::httpPost(service.port(), "/sightings", sightings(perRequest, round++)).status !=
            200)
            state.SkipWithError("not stored");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * perRequest);
}
BENCHMARK(BM_IngestSightings)
    ->Arg(1)
    ->Arg(20)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace hh::aliasdb
