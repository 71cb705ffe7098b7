#include "editor/panels/SideMixPanel.h"

#include <iterator>

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {0, ModulePanel::kFullWidth, 0, 0, 0},  // main-side mix
};

}  // namespace

SideMixPanel::SideMixPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {}

}  // namespace kirra::editor
