// The cost of the state operations a host calls around a project save and load, and of a
// program change: they hold the engine mutex, so audio waits for them.

#include <benchmark/benchmark.h>

#include <vector>

#include "BenchSupport.h"

namespace {

void BM_GetChunk(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    for (auto _ : state) {
        void* data = nullptr;
        benchmark::DoNotOptimize(plugin->getChunk(&data, false));
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_GetChunk)->Unit(benchmark::kMicrosecond);

void BM_SetChunk(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    void* data = nullptr;
    int32_t size = plugin->getChunk(&data, false);
    std::vector<uint8_t> chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plugin->setChunk(chunk.data(), size, false));
    }
}
BENCHMARK(BM_SetChunk)->Unit(benchmark::kMicrosecond);

void BM_SelectProgram(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    int preset = 0;
    for (auto _ : state) {
        plugin->selectProgram(preset);
        preset = (preset + 1) % 64;
    }
}
BENCHMARK(BM_SelectProgram)->Unit(benchmark::kMicrosecond);

void BM_ConstructInstance(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench_support::makePlugin());
    }
}
BENCHMARK(BM_ConstructInstance)->Unit(benchmark::kMillisecond);

}  // namespace
