#pragma once
// The panner's panel: where the left and the right input go.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class PannerPanel : public ControlsPanel {
  public:
    PannerPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
