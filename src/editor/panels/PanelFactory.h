#pragma once
// Builds the panel of the module a slot holds now, with its plot already showing.

#include <memory>

#include "editor/panels/ModulePanel.h"

namespace kirra::editor {

std::unique_ptr<ModulePanel> createModulePanel(const gui::Rect& rect, const PanelContext& context);

}  // namespace kirra::editor
