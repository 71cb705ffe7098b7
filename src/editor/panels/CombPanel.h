#pragma once
// The comb filter's panel: frequency and depth, the structure (feedback or feed-forward) and
// the interpolation, over the response with its teeth.

#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class CombPanel : public FilterPanel {
  public:
    CombPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
