#include "editor/panels/ADSRPanel.h"

#include "editor/plots/CADSRPlot.h"
#include "modulators/ADSR.h"

namespace kirra::editor {

namespace {

// The times in the order they are converted, with their rows in the left column.
constexpr int kSegmentPositions[ADSRPanel::kSegments] = {ADSR::kDelay, ADSR::kAttack, ADSR::kHold,
                                                         ADSR::kDecay, ADSR::kRelease};
constexpr int kSegmentRows[ADSRPanel::kSegments] = {0, 1, 2, 3, 5};
const PanelControl kControls[] = {
    {ADSR::kSustain, 0, 4, 0, 0},
    {ADSR::kMode, 1, 0, ADSR::kModeCount, 0},
    {ADSR::kTriggerSensitivity, 1, 1, 0, 0},
    {ADSR::kTriggerOn, 1, 2, 0, 0},
    {ADSR::kTriggerOff, 1, 3, 0, 0},
    {ADSR::kDepth, 1, 4, 0, 0},
};

}  // namespace

ADSRPanel::ADSRPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    for (int segment = 0; segment < kSegments; ++segment) {
        segments_[segment] =
            addField<CADSRSegment>(kSegmentPositions[segment], 0, kSegmentRows[segment]);
        followChoice(segments_[segment], ADSR::kMode, ADSR::kModeCount);
    }
    addControls(kControls);
    addPlot();
}

void ADSRPanel::beforeChange(int position, float value) {
    if (position != ADSR::kMode) return;
    const int mode = valueToIndex(value, ADSR::kModeCount);
    if (mode == valueToIndex(baseValue(ADSR::kMode), ADSR::kModeCount)) return;
    const float tempo = snapshot().tempoBpm;
    float converted[kSegments];
    for (int segment = 0; segment < kSegments; ++segment) {
        const int time = kSegmentPositions[segment];
        converted[segment] = ADSR::convertTime(time, baseValue(time), mode, tempo);
    }
    writeModeChange(ADSR::kMode, value, kSegmentPositions, converted, kSegments, false);
}

void ADSRPanel::readRunning(const Module& module) {
    const auto* adsr = dynamic_cast<const ADSR*>(&module);
    if (adsr == nullptr) return;
    for (int channel = 0; channel < 2; ++channel) {
        triggerLevel_[channel] = adsr->getTriggerLevel(channel);
        state_[channel] = adsr->getState(channel);
    }
}

void ADSRPanel::updatePlot(const Snapshot& snapshot) {
    plot()->setLevels(snapshot.shown[ADSR::kSustain], snapshot.shown[ADSR::kTriggerOn],
                      snapshot.shown[ADSR::kTriggerOff]);
    plot()->setRunning(triggerLevel_, state_);
}

}  // namespace kirra::editor
