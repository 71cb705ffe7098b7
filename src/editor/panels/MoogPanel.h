#pragma once
// The ladder filter's panel: cutoff and emphasis over the response.

#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class MoogPanel : public FilterPanel {
  public:
    MoogPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
