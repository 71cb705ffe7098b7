#pragma once
// The SVF's panel: filter A on the left (freqA, resoA, typeA), filter B on the right, the morph
// under them, and the response of the morph that is heard.

#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class SVFPanel : public FilterPanel {
  public:
    SVFPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
