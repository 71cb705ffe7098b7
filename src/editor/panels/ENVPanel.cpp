#include "editor/panels/ENVPanel.h"

#include "editor/plots/CENVPlot.h"

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {ENV::kSource, 0, 0, ENV::kSourceCount, 0},
    {ENV::kMode, 1, 0, ENV::kModeCount, 0},
    {ENV::kSensitivity, 0, 1, 0, 0},
    {ENV::kLink, 1, 1, 0, 0},
    {ENV::kAttack, 0, 2, 0, 0},
    {ENV::kRelease, 1, 2, 0, 0},
    {ENV::kDepth, 0, 3, 0, 0},
};

}  // namespace

ENVPanel::ENVPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : PlotPanel(rect, context, type) {
    addControls(kControls);
    addPlot();
}

void ENVPanel::readRunning(const Module& module) {
    const auto* env = dynamic_cast<const ENV*>(&module);
    if (env == nullptr) return;
    for (int channel = 0; channel < 2; ++channel) {
        input_[channel] = env->getInputLevel(channel);
        output_[channel] = env->getRunningMaximum(channel);
        for (int index = 0; index < ENV::kHistoryLength; ++index)
            history_[channel][index] = env->getHistory(channel, index);
    }
    newest_ = env->getHistoryIndex();
}

void ENVPanel::updatePlot(const Snapshot& /*snapshot*/) {
    plot()->setLevels(input_, output_);
    plot()->setHistory(history_[0], history_[1], newest_);
}

}  // namespace kirra::editor
