#include "BenchSupport.h"

#include <algorithm>

#include <cmath>

#include "modules/SignalTaps.h"

namespace bench_support {

namespace {

intptr_t hostCallback(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

constexpr size_t kSignalFrames = 4096;

std::vector<float> makeSignal(unsigned seed) {
    std::vector<float> signal(kSignalFrames);
    uint32_t noise = seed;
    for (size_t i = 0; i < kSignalFrames; ++i) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        double tone = 0.3 * std::sin(2.0 * 3.14159265358979 * 220.0 * i / kSampleRate);
        signal[i] = static_cast<float>(tone + 0.2 * (noise / 2147483648.0 - 1.0));
    }
    return signal;
}

void reportCounters(benchmark::State& state, int64_t samples) {
    state.SetItemsProcessed(samples);
    // Shown as the time of one stereo sample ("64.1ns") and as audio seconds per CPU second.
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(samples), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(samples) / kSampleRate, benchmark::Counter::kIsRate);
}

}  // namespace

const std::vector<float>& benchSignal(int channel) {
    static const std::vector<float> left = makeSignal(1);
    static const std::vector<float> right = makeSignal(2);
    return channel == 0 ? left : right;
}

std::unique_ptr<kirra::Plugin> makePlugin(float sampleRate) {
    auto plugin = std::make_unique<kirra::Plugin>(&hostCallback);
    plugin->setSampleRate(sampleRate);
    plugin->resume();
    return plugin;
}

void runPlugin(benchmark::State& state, kirra::Plugin& plugin, int blockSize) {
    std::vector<float> inLeft = benchSignal(0);
    std::vector<float> inRight = benchSignal(1);
    std::vector<float> outLeft(kSignalFrames);
    std::vector<float> outRight(kSignalFrames);
    int64_t samples = 0;
    size_t position = 0;
    for (auto _ : state) {
        if (position + blockSize > kSignalFrames) position = 0;
        float* inputs[4] = {&inLeft[position], &inRight[position], &inLeft[position],
                            &inRight[position]};
        float* outputs[2] = {&outLeft[position], &outRight[position]};
        plugin.processReplacing(inputs, outputs, blockSize);
        benchmark::DoNotOptimize(outLeft[position]);
        position += blockSize;
        samples += blockSize;
    }
    reportCounters(state, samples);
}

void runBlock(kirra::Plugin& plugin, int blockSize) {
    std::vector<float> inLeft = benchSignal(0);
    std::vector<float> inRight = benchSignal(1);
    std::vector<float> outLeft(inLeft.size());
    std::vector<float> outRight(inLeft.size());
    float* inputs[4] = {inLeft.data(), inRight.data(), inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    plugin.processReplacing(inputs, outputs, blockSize);
}

void runOperator(benchmark::State& state, kirra::Operator& op) {
    const auto& left = benchSignal(0);
    const auto& right = benchSignal(1);
    int64_t samples = 0;
    for (auto _ : state) {
        for (size_t start = 0; start < kSignalFrames; start += kirra::kControlPeriod) {
            op.resetModulation();
            op.updateParameters();
            // a control period at a time, as the signal path runs an operator in turn
            float l[kirra::kControlPeriod];
            float r[kirra::kControlPeriod];
            std::copy_n(&left[start], kirra::kControlPeriod, l);
            std::copy_n(&right[start], kirra::kControlPeriod, r);
            op.processRun(l, r, kirra::kControlPeriod);
            benchmark::DoNotOptimize(l);
            benchmark::DoNotOptimize(r);
        }
        samples += kSignalFrames;
    }
    reportCounters(state, samples);
}

void runModulator(benchmark::State& state, kirra::Modulator& modulator) {
    const auto& left = benchSignal(0);
    const auto& right = benchSignal(1);
    float tapsLeft[kirra::kTapCount] = {};
    float tapsRight[kirra::kTapCount] = {};
    modulator.setTaps(tapsLeft, tapsRight);
    int64_t samples = 0;
    for (auto _ : state) {
        modulator.setSongPosition(static_cast<float>(samples) * 2.0f / kSampleRate);
        modulator.setTempo(120.0f);
        for (size_t start = 0; start < kSignalFrames; start += kirra::kControlPeriod) {
            modulator.resetModulation();
            modulator.updateParameters();
            for (size_t i = start; i < start + kirra::kControlPeriod; ++i) {
                tapsLeft[kirra::kTapInput] = left[i];
                tapsRight[kirra::kTapInput] = right[i];
                float l;
                float r;
                modulator.generateSample(l, r);
                benchmark::DoNotOptimize(l);
                benchmark::DoNotOptimize(r);
            }
        }
        samples += kSignalFrames;
    }
    reportCounters(state, samples);
}

}  // namespace bench_support
