// The editor's cost on the thread that draws it: a full redraw of the frame, and one periodic
// idle (meters fed from running audio, blinking) with the redraw of what it changed, at 100 and
// 200 %. Hosts and the window thread run the idle every 50 ms; it has to stay far below that.

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "editor/Editor.h"
#include "editor/EditorLayout.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;

struct OpenEditor {
    OpenEditor(int page, int percent) : plugin(bench_support::makePlugin()) {
        editor = new Editor(*plugin);
        plugin->attachEditor(editor, editor);
        plugin->setParameter(kirra::param::kCurrentMain, kirra::indexToValue(page, 4));
        plugin->setParameter(kirra::param::kOperatorBypass1, kirra::indexToValue(1, 2));
        editor->openOffscreen(percent);
        backBuffer = kirra::gui::Image::atScale(layout::kWidth, layout::kHeight, percent / 100.0);
    }
    std::unique_ptr<kirra::Plugin> plugin;
    Editor* editor;  // owned by the plug-in
    kirra::gui::Image backBuffer;
};

void fullRedraw(benchmark::State& state) {
    const int percent = static_cast<int>(state.range(1));
    OpenEditor open(static_cast<int>(state.range(0)), percent);
    KirraFrame& frame = *open.editor->getFrame();
    for (auto _ : state) {
        frame.renderAll(open.backBuffer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(fullRedraw)
    ->ArgsProduct({{0, 1, 2, 3}, {100, 200}})
    ->ArgNames({"page", "zoom"})
    ->Unit(benchmark::kMillisecond);

// Opening: the skin's film strips and background are drawn for the zoom, then every control is
// built.
void openEditor(benchmark::State& state) {
    const int percent = static_cast<int>(state.range(0));
    OpenEditor open(1, percent);
    for (auto _ : state)
        open.editor->openOffscreen(percent);
}
BENCHMARK(openEditor)->Arg(100)->Arg(200)->ArgName("zoom")->Unit(benchmark::kMillisecond);

void idleWithMetersRunning(benchmark::State& state) {
    OpenEditor open(1, static_cast<int>(state.range(0)));
    KirraFrame& frame = *open.editor->getFrame();
    const int blockSize = 512;
    std::vector<float> in[4];
    std::vector<float> out[2];
    for (int channel = 0; channel < 4; ++channel)
        in[channel] = std::vector<float>(blockSize, 0.0f);
    for (auto& channel : out)
        channel.assign(blockSize, 0.0f);
    int64_t nowMs = 0;
    int block = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Audio with a changing level, so the meters move every time.
        const std::vector<float>& signal = bench_support::benchSignal(block % 2);
        float gain = 0.1f + 0.9f * ((block++ % 16) / 15.0f);
        for (int i = 0; i < blockSize; ++i)
            in[0][i] = in[1][i] = gain * signal[i];
        float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        open.plugin->processReplacing(inputs, outputs, blockSize);
        nowMs += Editor::kIdleIntervalMs;
        state.ResumeTiming();
        open.editor->tick(nowMs);
        frame.render(open.backBuffer, frame.takeDirtyArea());
    }
}
BENCHMARK(idleWithMetersRunning)
    ->Arg(100)
    ->Arg(200)
    ->ArgName("zoom")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
