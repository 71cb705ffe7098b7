#include "editor/panels/LFOPanel.h"

#include "editor/plots/CLFOPlot.h"
#include "modulators/LFO.h"

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {LFO::kWaveform, 1, 0, LFO::kWaveformCount, 0},
    {LFO::kSmooth, 0, 1, 0, 0},
    {LFO::kMode, 1, 1, LFO::kModeCount, 0},
    {LFO::kOffsetLeft, 0, 2, 0, 0},
    {LFO::kOffsetRight, 1, 2, 0, 0},
    {LFO::kTilt, 0, 3, 0, 0},
    {LFO::kDepth, 1, 3, 0, 0},
};

}  // namespace

LFOPanel::LFOPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    rate_ = addField<CLFORateParam>(LFO::kRate, 0, 0);
    addControls(kControls);
    followChoice(rate_, LFO::kMode, LFO::kModeCount);
    addPlot();
}

void LFOPanel::beforeChange(int position, float value) {
    if (position != LFO::kMode) return;
    const int mode = valueToIndex(value, LFO::kModeCount);
    if (mode == valueToIndex(baseValue(LFO::kMode), LFO::kModeCount)) return;
    const int rate = LFO::kRate;
    const float converted = LFO::convertRate(baseValue(LFO::kRate), mode, snapshot().tempoBpm);
    writeModeChange(LFO::kMode, value, &rate, &converted, 1, false);
}

void LFOPanel::readRunning(const Module& module) {
    if (const auto* lfo = dynamic_cast<const LFO*>(&module)) phase_ = lfo->getPhase();
}

void LFOPanel::updatePlot(const Snapshot& snapshot) {
    // Each channel's offset is read from its own copy, whichever channel is previewed.
    const float offsetLeft =
        snapshot.previewing ? snapshot.left[LFO::kOffsetLeft] : snapshot.base[LFO::kOffsetLeft];
    const float offsetRight =
        snapshot.previewing ? snapshot.right[LFO::kOffsetRight] : snapshot.base[LFO::kOffsetRight];
    // The generator reads the shape from its base value only.
    plot()->setShape(valueToIndex(snapshot.base[LFO::kWaveform], LFO::kWaveformCount),
                     snapshot.shown[LFO::kSmooth], snapshot.shown[LFO::kTilt], offsetLeft,
                     offsetRight);
    plot()->setPhase(phase_);
}

}  // namespace kirra::editor
