#pragma once
// Shared pieces of the benchmarks: a plug-in instance inside the process with a minimal host, and
// a stereo test signal processed in blocks. Counters report nanoseconds per stereo sample and the
// realtime factor at 44.1 kHz.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/Plugin.h"
#include "modules/Modulator.h"
#include "modules/Operator.h"

namespace bench_support {

constexpr float kSampleRate = 44100.0f;

// A plug-in with the flat program, resumed at 44.1 kHz.
std::unique_ptr<kirra::Plugin> makePlugin(float sampleRate = kSampleRate);

// Processes the plug-in for as long as the benchmark runs, in blocks of the given size, and
// reports per-sample cost and realtime factor.
void runPlugin(benchmark::State& state, kirra::Plugin& plugin, int blockSize);

// One block of the bench signal through the plug-in (to touch its buffers).
void runBlock(kirra::Plugin& plugin, int blockSize);

// Runs one operator on its own (no engine around it) a control period of 32 samples at a time,
// calling updateParameters before each as the engine does, and reports the per-sample cost.
void runOperator(benchmark::State& state, kirra::Operator& op);

// Runs one modulator on its own: song position and tempo per 4096 samples, updateParameters every
// 32 samples, the bench signal on the input tap; reports the per-sample cost.
void runModulator(benchmark::State& state, kirra::Modulator& modulator);

// Deterministic stereo noise with some tones, 4096 frames.
const std::vector<float>& benchSignal(int channel);

}  // namespace bench_support
