#pragma once
// The phase inverter's panel: the polarity switch.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class PhaseInvPanel : public ControlsPanel {
  public:
    PhaseInvPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
