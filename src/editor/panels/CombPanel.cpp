#include "editor/panels/CombPanel.h"

#include <iterator>

#include "editor/plots/CCombPlot.h"
#include "operators/filters/Comb.h"

namespace kirra::editor {

namespace {

enum Position { kFreq = 0, kDepth, kStructure, kInterpolate };
const PanelControl kControls[] = {
    {kFreq, 0, 0, 0, 0},
    {kDepth, 1, 0, 0, 0},
    {kStructure, ModulePanel::kFullWidth, 1, Comb::kStructureCount, 0},
    {kInterpolate, ModulePanel::kFullWidth, 2, Comb::kInterpolationCount, 0},
};

}  // namespace

CombPanel::CombPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kControls, static_cast<int>(std::size(kControls)));
    addPlot<CCombPlot>(3);
}

}  // namespace kirra::editor
