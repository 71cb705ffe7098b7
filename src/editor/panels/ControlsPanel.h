#pragma once
// The panel of a module that has no plot: its table of controls, nothing else.

#include "editor/panels/ModulePanel.h"

namespace kirra::editor {

class ControlsPanel : public ModulePanel {
  public:
    ControlsPanel(const gui::Rect& rect, const PanelContext& context, int type,
                  const PanelControl* controls, int count)
        : ModulePanel(rect, context, type) {
        addControls(controls, count);
    }
};

}  // namespace kirra::editor
