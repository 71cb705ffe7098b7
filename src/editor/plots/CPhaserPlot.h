#pragma once
// The phaser's notches: the all-pass chain added to the dry signal, with its feedback.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CPhaserPlot : public CResponsePlot {
  public:
    explicit CPhaserPlot(const gui::Rect& rect) : CResponsePlot(rect, kPhaser) {}
};

}  // namespace kirra::editor
