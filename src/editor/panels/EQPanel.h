#pragma once
// The equalizer's panel: band A on the left (freqA, qA, typeA, gainA), band B on the right, the
// morph under them, and the curve of the morph that is heard. Each band's Q reads by its shape.

#include "editor/panels/CModeParam.h"
#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

class EQPanel : public FilterPanel {
  public:
    EQPanel(const gui::Rect& rect, const PanelContext& context, int type);

    CEQQ* qField(int band) const { return q_[band]; }

  private:
    CEQQ* q_[2] = {};
};

}  // namespace kirra::editor
