#pragma once
// The rectifier's panel: its on/off switch.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class RectifierPanel : public ControlsPanel {
  public:
    RectifierPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
