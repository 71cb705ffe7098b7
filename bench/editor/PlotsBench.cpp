// The module plots' cost on the editor's thread: recomputing a curve after a parameter change
// (each iteration alternates between two settings, so every call recomputes), and a whole frame
// redrawn with the busiest panels shown, which has to stay far below the 50 ms between idles.

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "editor/Editor.h"
#include "editor/EditorLayout.h"
#include "editor/KirraFrame.h"
#include "editor/plots/CADSRPlot.h"
#include "editor/plots/CCompExpPlot.h"
#include "editor/plots/CDelayPlot.h"
#include "editor/plots/CDistortionPlot.h"
#include "editor/plots/CENVPlot.h"
#include "editor/plots/CFilterPlot.h"
#include "editor/plots/CLFOPlot.h"
#include "engine/ParameterIndex.h"
#include "gui/Image.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra;
using namespace kirra::editor;

// The operator panel's plot area under four rows of controls.
const gui::Rect kPlotRect{550, 104, 764, 203};

// Two settings of sixteen positions that differ in the first one (a frequency, a threshold, a
// drive, a time) and otherwise keep the operator's shape interesting.
struct Settings {
    float values[2][Operator::kPositions];
    explicit Settings(std::initializer_list<float> common) {
        int position = 0;
        for (float value : common) {
            values[0][position] = values[1][position] = value;
            if (++position == Operator::kPositions) break;
        }
        for (; position < Operator::kPositions; ++position)
            values[0][position] = values[1][position] = 0.5f;
        values[1][0] = values[0][0] * 0.5f + 0.1f;
    }
};

template <typename Plot>
void responseRecompute(benchmark::State& state, std::initializer_list<float> common) {
    Plot plot(kPlotRect);
    plot.setSampleRate(44100.0f);
    Settings settings(common);
    int which = 0;
    for (auto _ : state) {
        plot.setValues(settings.values[which]);
        which ^= 1;
        benchmark::DoNotOptimize(plot.columnDecibels(10));
    }
}

void biquadRecompute(benchmark::State& state) {
    responseRecompute<CBiquadPlot>(state, {0.4f, 0.6f, 0.125f, 0.7f, 0.3f, 0.375f, 0.5f});
}
void svfRecompute(benchmark::State& state) {
    responseRecompute<CSVFPlot>(state, {0.4f, 0.6f, 0.125f, 0.7f, 0.3f, 0.375f, 0.5f});
}
void moogRecompute(benchmark::State& state) {
    responseRecompute<CMoogPlot>(state, {0.5f, 0.8f});
}
void combRecompute(benchmark::State& state) {
    responseRecompute<CCombPlot>(state, {0.3f, 0.8f, 0.25f, 0.9f});
}
void phaserRecompute(benchmark::State& state) {
    responseRecompute<CPhaserPlot>(state, {0.5f, 0.5f, 1.0f, 0.99f});
}
void eqRecompute(benchmark::State& state) {
    responseRecompute<CEQPlot>(state, {0.3f, 0.5f, 0.5f, 0.8f, 0.5f, 0.8f, 0.5f, 0.8f, 0.3f});
}
void formantRecompute(benchmark::State& state) {
    responseRecompute<CFormantPlot>(state, {0.5f, 0.1f, 0.5f});
}
BENCHMARK(biquadRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(svfRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(moogRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(combRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(phaserRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(eqRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(formantRecompute)->Unit(benchmark::kMicrosecond);

template <typename Plot>
void curveRecompute(benchmark::State& state, std::initializer_list<float> common) {
    Plot plot(kPlotRect);
    Settings settings(common);
    int which = 0;
    for (auto _ : state) {
        plot.setValues(settings.values[which]);
        which ^= 1;
        benchmark::DoNotOptimize(plot.columnCount());
    }
}

void compExpRecompute(benchmark::State& state) {
    curveRecompute<CCompExpPlot>(state, {0.6f, 0.75f, 0.5f, 0.75f, 0.125f});
}
void distortionRecompute(benchmark::State& state) {
    // An asymmetric curve: two exponentials per column.
    curveRecompute<CDistortionPlot>(state, {0.6f, 0.5f, 0.0f, 3.5f / 16.0f});
}
BENCHMARK(compExpRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(distortionRecompute)->Unit(benchmark::kMicrosecond);

void delayRecompute(benchmark::State& state) {
    CDelayPlot plot(kPlotRect);
    // Time-based, long feedback, ping-pong: the most echoes to follow.
    Settings settings({0.1f, 0.15f, 0.95f, 0.25f, 0.5f, 0.0f, 0.25f, 1.0f, 1.0f});
    int which = 0;
    for (auto _ : state) {
        plot.setValues(settings.values[which], 120.0f, 44100.0f);
        which ^= 1;
        benchmark::DoNotOptimize(plot.echoesOf(0).size());
    }
}
BENCHMARK(delayRecompute)->Unit(benchmark::kMicrosecond);

void lfoRecompute(benchmark::State& state) {
    CLFOPlot plot(kPlotRect);
    int which = 0;
    for (auto _ : state) {
        plot.setShape(1, which == 0 ? 0.6f : 0.7f, 0.3f, 0.5f, 0.75f);
        which ^= 1;
        benchmark::DoNotOptimize(plot.valueAt(0, 5));
    }
}
void adsrRecompute(benchmark::State& state) {
    CADSRPlot plot(kPlotRect);
    int which = 0;
    for (auto _ : state) {
        plot.setLevels(which == 0 ? 0.6f : 0.7f, 0.5f, 0.1f);
        which ^= 1;
        benchmark::DoNotOptimize(plot.curveAt(5));
    }
}
BENCHMARK(lfoRecompute)->Unit(benchmark::kMicrosecond);
BENCHMARK(adsrRecompute)->Unit(benchmark::kMicrosecond);

// The editor with a plot in both sections: an equalizer and an ENV with a full history, or a
// comb and a step sequencer; the ENV's and the STEP's plots draw the most.
struct BusyEditor {
    BusyEditor(int operatorType, int modulatorType) : plugin(bench_support::makePlugin()) {
        editor = new Editor(*plugin);
        plugin->attachEditor(editor, editor);
        plugin->setParameter(param::kCurrentMain, indexToValue(0, 4));
        plugin->setParameter(param::kOperatorType1, indexToValue(operatorType, 64));
        plugin->setParameter(param::kModulatorType1, indexToValue(modulatorType, 64));
        // The ENV follows the input; the step sequencer gets values in every step.
        for (int step = 0; step < 32; ++step)
            plugin->setParameter(param::modulatorParameter(0, step), (step % 7) / 7.0f);
        editor->openOffscreen();
        std::vector<float> in[4];
        std::vector<float> out[2];
        const int blockSize = 4096;
        for (int channel = 0; channel < 4; ++channel)
            in[channel] = bench_support::benchSignal(channel % 2);
        for (auto& channel : out)
            channel.assign(blockSize, 0.0f);
        for (int block = 0; block < 80; ++block) {
            float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
            float* outputs[2] = {out[0].data(), out[1].data()};
            plugin->processReplacing(inputs, outputs, blockSize);
            editor->tick(50 * (block + 1));
        }
    }
    std::unique_ptr<Plugin> plugin;
    Editor* editor;  // owned by the plug-in
    gui::Image backBuffer{layout::kWidth, layout::kHeight};
};

void busyFrameRedraw(benchmark::State& state) {
    BusyEditor open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    KirraFrame& frame = *open.editor->getFrame();
    for (auto _ : state) {
        frame.renderAll(open.backBuffer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(busyFrameRedraw)
    ->Args({kEQ, kENV})
    ->Args({kComb, kSTEP})
    ->Args({kDelayLine, kLFO})
    ->Unit(benchmark::kMillisecond);

// One periodic idle with the modulation preview on and an LFO sweeping an equalizer's frequency:
// the response is recomputed at every idle, and the changed areas redrawn.
void previewedIdle(benchmark::State& state) {
    BusyEditor open(kEQ, kLFO);
    Plugin& plugin = *open.plugin;
    plugin.setParameter(param::modulatorParameter(0, 6), 0.25f);  // LFO in hertz
    plugin.setParameter(param::modulatorParameter(0, 0), 0.3f);
    plugin.setParameter(param::kSlotSource1, indexToValue(0, param::kSourceStates));
    plugin.setParameter(param::kSlotDestination1, indexToValue(3, param::kDestinationStates));
    plugin.setParameter(param::kSlotSensitivity1, 0.9f);
    plugin.setParameter(param::kModulationPreview, indexToValue(1, param::kPreviewStates));
    KirraFrame& frame = *open.editor->getFrame();
    const int blockSize = 2205;  // 50 ms
    std::vector<float> in[4];
    std::vector<float> out[2];
    for (int channel = 0; channel < 4; ++channel)
        in[channel].assign(bench_support::benchSignal(channel % 2).begin(),
                           bench_support::benchSignal(channel % 2).begin() + blockSize);
    for (auto& channel : out)
        channel.assign(blockSize, 0.0f);
    int64_t nowMs = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        plugin.processReplacing(inputs, outputs, blockSize);
        nowMs += Editor::kIdleIntervalMs;
        state.ResumeTiming();
        open.editor->tick(nowMs);
        frame.render(open.backBuffer, frame.takeDirtyArea());
    }
}
BENCHMARK(previewedIdle)->Unit(benchmark::kMicrosecond);

}  // namespace
