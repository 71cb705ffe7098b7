#include "editor/panels/DelayLinePanel.h"

#include <algorithm>

#include "editor/panels/CDelayPanRParam.h"
#include "editor/plots/CDelayPlot.h"
#include "operators/effects/DelayLine.h"

namespace kirra::editor {

namespace {

constexpr int kModes = 2;
constexpr int kInterpolations = 3;
constexpr int kFeedbackModes = 2;
const PanelControl kControls[] = {
    {DelayLine::kFeedback, 0, 1, 0, 0},
    {DelayLine::kMode, 1, 1, kModes, 0},
    {DelayLine::kInterpolate, 0, 2, kInterpolations, 0},
    {DelayLine::kFeedbackMode, 1, 2, kFeedbackModes, 0},
    {DelayLine::kPanLeft, 0, 3, 0, 0},
};

}  // namespace

DelayLinePanel::DelayLinePanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    for (int channel = 0; channel < 2; ++channel) {
        time_[channel] = addField<CDelayTimeParam>(DelayLine::kTimeLeft + channel, channel, 0);
        followChoice(time_[channel], DelayLine::kMode, kModes);
    }
    addControls(kControls);
    addField<CDelayPanRParam>(DelayLine::kPanRight, 1, 3);
    addPlot();
}

void DelayLinePanel::beforeChange(int position, float value) {
    if (position != DelayLine::kMode) return;
    const int from = valueToIndex(baseValue(DelayLine::kMode), kModes);
    const int to = valueToIndex(value, kModes);
    if (from == to) return;
    const float tempo = snapshot().tempoBpm;
    const int times[2] = {DelayLine::kTimeLeft, DelayLine::kTimeRight};
    float converted[2];
    for (int channel = 0; channel < 2; ++channel) {
        converted[channel] =
            DelayLine::convertTimeValue(baseValue(times[channel]), from, to, tempo);
    }
    writeModeChange(DelayLine::kMode, value, times, converted, 2, true);
}

void DelayLinePanel::updatePlot(const Snapshot& snapshot) {
    if (!snapshot.previewing) {
        plot()->setValues(snapshot.base, snapshot.tempoBpm, snapshot.sampleRate);
        return;
    }
    // The modulated copies hold each line's time already read at the tempo: what each channel
    // hears, as times.
    float values[Operator::kPositions];
    std::copy(snapshot.base, snapshot.base + Operator::kPositions, values);
    values[DelayLine::kMode] = indexToValue(DelayLine::kTimeBased, kModes);
    values[DelayLine::kTimeLeft] = snapshot.left[DelayLine::kTimeLeft];
    values[DelayLine::kTimeRight] = snapshot.right[DelayLine::kTimeRight];
    values[DelayLine::kPanLeft] = snapshot.left[DelayLine::kPanLeft];
    values[DelayLine::kPanRight] = snapshot.right[DelayLine::kPanRight];
    values[DelayLine::kFeedback] = snapshot.shown[DelayLine::kFeedback];
    plot()->setValues(values, snapshot.tempoBpm, snapshot.sampleRate);
}

}  // namespace kirra::editor
