// The whole plug-in with the flat program: the baseline every module's cost is set against.

#include "BenchSupport.h"

namespace {

void BM_FlatProgram(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    bench_support::runPlugin(state, *plugin, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_FlatProgram)->Arg(32)->Arg(512);

// The same with the operators kept from running in turn: what a routing with feedback pays.
void BM_FlatProgramSampleBySample(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    plugin->allowOperatorsInTurn(false);
    bench_support::runPlugin(state, *plugin, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_FlatProgramSampleBySample)->Arg(32)->Arg(512);

}  // namespace
