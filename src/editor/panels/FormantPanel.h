#pragma once
// The formant filter's panel: the morph and the two vowels, over the response.

#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class FormantPanel : public FilterPanel {
  public:
    FormantPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
