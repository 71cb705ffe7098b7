#pragma once
// The stereo panel: balance and width.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class StereoPanel : public ControlsPanel {
  public:
    StereoPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
