#include "editor/panels/RectifierPanel.h"

#include <iterator>

namespace kirra::editor {

namespace {

const PanelControl kControls[] = {
    {0, ModulePanel::kFullWidth, 0, 2, 0},  // rectify: off, on
};

}  // namespace

RectifierPanel::RectifierPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {}

}  // namespace kirra::editor
