#pragma once
// The sidechain mixer's panel: the share of main and sidechain signal.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class SideMixPanel : public ControlsPanel {
  public:
    SideMixPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
