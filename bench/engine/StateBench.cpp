// The cost of the state operations a host calls around a project save and load, and of a
// program change: they hold the engine mutex, so audio waits for them.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"

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

// Resident memory (Linux) of instances in one process, each resumed and run for a block so that
// its buffers are touched: the flat program, and every slot a plate reverb (the largest buffers)
// or a pitch shifter. Reported per instance and in all; run it on its own
// (--benchmark_filter=InstanceMemory), as memory the benchmarks before it freed would be reused.
size_t residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void BM_InstanceMemory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int type = static_cast<int>(state.range(1));
    double perInstance = 0.0;
    double total = 0.0;
    for (auto _ : state) {
        const size_t before = residentBytes();
        std::vector<std::unique_ptr<kirra::Plugin>> plugins;
        for (int i = 0; i < count; ++i) {
            auto plugin = bench_support::makePlugin();
            for (int slot = 0; type >= 0 && slot < kirra::param::kSlotCount; ++slot) {
                plugin->setParameter(kirra::param::kOperatorType1 + slot,
                                     kirra::indexToValue(type, kirra::kModuleTypeStates));
                if (type == kirra::kReverb2) {
                    plugin->setParameter(kirra::param::operatorParameter(slot, 3),
                                         kirra::indexToValue(2, 16));  // plate
                }
            }
            bench_support::runBlock(*plugin, 512);
            plugins.push_back(std::move(plugin));
        }
        total = static_cast<double>(residentBytes() - before) / (1024.0 * 1024.0);
        perInstance = total / count;
    }
    state.counters["resident_MB"] = total;
    state.counters["per_instance_MB"] = perInstance;
}
BENCHMARK(BM_InstanceMemory)
    ->ArgNames({"instances", "type"})
    ->ArgsProduct({{1, 32}, {-1, kirra::kReverb2, kirra::kPitch}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
