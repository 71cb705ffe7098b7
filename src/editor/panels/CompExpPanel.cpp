#include "editor/panels/CompExpPanel.h"

#include "editor/plots/CCompExpPlot.h"
#include "operators/effects/CompExp.h"

namespace kirra::editor {

namespace {

constexpr int kSwitchStates = 2;
// The type parameter has four states; the control offers the two curves.
constexpr int kTypeStates = 4;
constexpr int kCurves = 2;
constexpr int kSources = 6;
const PanelControl kControls[] = {
    {CompExp::kThreshold, 0, 0, 0, 0},
    {CompExp::kMakeup, 0, 1, 0, 0},
    {CompExp::kAutoMakeup, 1, 1, kSwitchStates, 0},
    {CompExp::kAttack, 0, 2, 0, 0},
    {CompExp::kRelease, 1, 2, 0, 0},
    {CompExp::kType, 0, 3, kTypeStates, kCurves},
    {CompExp::kSource, 1, 3, kSources, 0},
    {CompExp::kDetector, 0, 4, kSwitchStates, 0},
    {CompExp::kListen, 1, 4, kSwitchStates, 0},
};

}  // namespace

CompExpPanel::CompExpPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    ratio_ = addField<CCompExpRatioParam>(CompExp::kRatio, 1, 0);
    addControls(kControls);
    followChoice(ratio_, CompExp::kType, kTypeStates);
    addPlot();
}

void CompExpPanel::updatePlot(const Snapshot& snapshot) {
    plot()->setValues(snapshot.shown);
}

}  // namespace kirra::editor
