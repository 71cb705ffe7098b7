#include "editor/panels/DistortionPanel.h"

#include "editor/plots/CDistortionPlot.h"
#include "operators/effects/Distortion.h"

namespace kirra::editor {

namespace {

constexpr int kCrossoverStates = 2;
const PanelControl kControls[] = {
    {Distortion::kDrive, 0, 0, 0, 0},
    {Distortion::kFrequency, 1, 0, 0, 0},
    {Distortion::kBandwidth, 0, 1, 0, 0},
    {Distortion::kType, 1, 1, Distortion::kTypeStates, Distortion::kCurveCount},
    {Distortion::kDiffuse, 0, 2, 0, 0},
    {Distortion::kCrossover, 1, 2, kCrossoverStates, 0},
};

}  // namespace

DistortionPanel::DistortionPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    addControls(kControls);
    addPlot();
}

void DistortionPanel::updatePlot(const Snapshot& snapshot) {
    plot()->setValues(snapshot.shown);
}

}  // namespace kirra::editor
