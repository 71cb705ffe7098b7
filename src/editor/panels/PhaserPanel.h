#pragma once
// The phaser's panel: the all-pass coefficient ("feedback"), the overall feedback, the depth
// and the number of sections, over the response with its notches.

#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class PhaserPanel : public FilterPanel {
  public:
    PhaserPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
