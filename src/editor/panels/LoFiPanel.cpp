#include "editor/panels/LoFiPanel.h"

#include <iterator>

#include "operators/effects/LoFi.h"

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {LoFi::kBits, ModulePanel::kFullWidth, 0, 0, 0},
    {LoFi::kHoldRate, ModulePanel::kFullWidth, 1, 0, 0},
};

}  // namespace

LoFiPanel::LoFiPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {}

}  // namespace kirra::editor
