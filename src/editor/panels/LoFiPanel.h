#pragma once
// The bit-crusher's panel: bit depth and hold rate.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class LoFiPanel : public ControlsPanel {
  public:
    LoFiPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
