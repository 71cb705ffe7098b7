#include "editor/panels/PhaserPanel.h"

#include <iterator>

#include "editor/plots/CPhaserPlot.h"
#include "operators/filters/Phaser.h"

namespace kirra::editor {

namespace {

enum Position { kStageFeedback = 0, kOverallFeedback, kDepth, kStages };
const PanelControl kControls[] = {
    {kStageFeedback, ModulePanel::kFullWidth, 0, 0, 0},
    {kOverallFeedback, ModulePanel::kFullWidth, 1, 0, 0},
    {kDepth, ModulePanel::kFullWidth, 2, 0, 0},
    {kStages, ModulePanel::kFullWidth, 3, Phaser::kMaxSections, 0},
};

}  // namespace

PhaserPanel::PhaserPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kControls, static_cast<int>(std::size(kControls)));
    addPlot<CPhaserPlot>(4);
}

}  // namespace kirra::editor
