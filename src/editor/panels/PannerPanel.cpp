#include "editor/panels/PannerPanel.h"

#include <iterator>

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {0, ModulePanel::kFullWidth, 0, 0, 0},  // pan L
    {1, ModulePanel::kFullWidth, 1, 0, 0},  // pan R
};

}  // namespace

PannerPanel::PannerPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {}

}  // namespace kirra::editor
