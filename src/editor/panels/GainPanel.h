#pragma once
// The gain's panel: the attenuation in dB.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class GainPanel : public ControlsPanel {
  public:
    GainPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
