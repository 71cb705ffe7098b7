// Cost of the pitch shifter per resolution: alone, in slot 1 of the flat program, and in all four
// slots; and of its transform. Alone and the transform also with the sixteen-lane versions turned
// off (lanes:8), where the processor has them.

#include <vector>

#include "BenchSupport.h"
#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "modules/WideLanes.h"
#include "operators/effects/Fft.h"
#include "operators/effects/Pitch.h"

namespace {

using kirra::Pitch;

float resolutionValue(int64_t resolution) {
    return kirra::indexToValue(static_cast<int>(resolution), 3);
}

// The widest vectors the run may use (8 or 16 lanes) for as long as it lives.
class LaneWidth {
  public:
    explicit LaneWidth(int64_t lanes) : before_(kirra::wide_lanes::useWidestLanes.load()) {
        kirra::wide_lanes::useWidestLanes.store(before_ && lanes == 16);
    }
    ~LaneWidth() { kirra::wide_lanes::useWidestLanes.store(before_); }
    LaneWidth(const LaneWidth&) = delete;
    LaneWidth& operator=(const LaneWidth&) = delete;

  private:
    bool before_;
};

void BM_Pitch(benchmark::State& state) {
    const LaneWidth lanes(state.range(1));
    auto op = kirra::createOperator(kirra::kPitch, 0, nullptr);
    op->setParameter(Pitch::kResolution, resolutionValue(state.range(0)));
    op->setParameter(Pitch::kSemitones, kirra::indexToValue(19, 25));  // a fifth up
    op->setSampleRate(bench_support::kSampleRate);
    bench_support::runOperator(state, *op);
}
BENCHMARK(BM_Pitch)->ArgNames({"resolution", "lanes"})->ArgsProduct({{0, 1, 2}, {8, 16}});

void BM_PitchPlugin(benchmark::State& state) {
    auto plugin = bench_support::makePlugin();
    const int slots = static_cast<int>(state.range(1));
    for (int slot = 0; slot < slots; ++slot) {
        plugin->setParameter(kirra::param::kOperatorType1 + slot,
                             kirra::indexToValue(kirra::kPitch, kirra::kModuleTypeStates));
        plugin->setParameter(kirra::param::operatorParameter(slot, Pitch::kResolution),
                             resolutionValue(state.range(0)));
        plugin->setParameter(kirra::param::operatorParameter(slot, Pitch::kSemitones),
                             kirra::indexToValue(19, 25));
    }
    bench_support::runPlugin(state, *plugin, 512);
}
BENCHMARK(BM_PitchPlugin)
    ->ArgNames({"resolution", "slots"})
    ->ArgsProduct({{0, 1, 2}, {1}})
    ->Args({2, 4});

// One forward and one inverse transform of a frame, the pitch shifter's work per hop.
void BM_Fft(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const LaneWidth lanes(state.range(1));
    kirra::Fft fft;
    fft.prepare(4096);
    fft.setSize(size);
    std::vector<float> real(bench_support::benchSignal(0).begin(),
                            bench_support::benchSignal(0).begin() + size);
    std::vector<float> imag(bench_support::benchSignal(1).begin(),
                            bench_support::benchSignal(1).begin() + size);
    for (auto _ : state) {
        fft.forward(real.data(), imag.data());
        fft.inverse(real.data(), imag.data());
        // Unnormalised: back to the signal's level, so that the values stay finite.
        for (int i = 0; i < size; ++i) {
            real[i] /= static_cast<float>(size);
            imag[i] /= static_cast<float>(size);
        }
        benchmark::DoNotOptimize(real.data());
    }
    state.SetItemsProcessed(state.iterations() * size);
}
BENCHMARK(BM_Fft)->ArgNames({"size", "lanes"})->ArgsProduct({{512, 1024, 2048, 4096}, {8, 16}});

}  // namespace
