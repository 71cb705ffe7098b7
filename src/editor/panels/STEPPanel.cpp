#include "editor/panels/STEPPanel.h"

#include "editor/panels/CSTEPStateParam.h"
#include "modulators/STEP.h"

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {STEP::kMode, 0, 0, STEP::kModeCount, 0},
    {STEP::kSteps, 0, 1, 0, 0},
    {STEP::kGrid, 1, 1, 0, 0},
    {STEP::kSmooth, 0, 2, 0, 0},
    {STEP::kDepth, 1, 2, 0, 0},
};

}  // namespace

STEPPanel::STEPPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    addControls(kControls);
    state_ = addChoice<CSTEPStateParam>(STEP::kState, 1, 0, STEP::kRunStateCount);
    followChoice(state_, STEP::kMode, STEP::kModeCount);
    addPlot(this);
    showSteps(snapshot().base);
}

void STEPPanel::showSteps(const float* values) {
    for (int position = 0; position < CSTEPPlot::kPositions; ++position)
        plot()->setStepValue(position, values[position]);
    plot()->setStepCount(valueToIndex(values[STEP::kSteps], STEP::kMaxSteps) + 1);
}

void STEPPanel::stepEditStarted(int position) {
    access().setEditing(true);
    beginEdit(parameterIndex(position));
}

void STEPPanel::stepChanged(int position, float value) {
    writeAutomated(position, value);
}

void STEPPanel::stepEditEnded(int position) {
    endEdit(parameterIndex(position));
    access().setEditing(false);
}

void STEPPanel::positionChanged(int position, float value) {
    // The plot's own edit wins over what comes back meanwhile.
    if (position < CSTEPPlot::kPositions && !plot()->isEditing()) {
        plot()->setStepValue(position, value);
    } else if (position == STEP::kSteps) {
        plot()->setStepCount(valueToIndex(value, STEP::kMaxSteps) + 1);
    }
}

void STEPPanel::readRunning(const Module& module) {
    if (const auto* step = dynamic_cast<const STEP*>(&module))
        currentStep_ = step->getCurrentStep();
}

void STEPPanel::updatePlot(const Snapshot& snapshot) {
    if (!plot()->isEditing()) showSteps(snapshot.base);
    plot()->setCurrentStep(currentStep_);
    plot()->setDepth(snapshot.shown[STEP::kDepth]);
}

}  // namespace kirra::editor
