#pragma once
// The equalizer's curve: bands A and B crossfaded by the morph.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CEQPlot : public CResponsePlot {
  public:
    explicit CEQPlot(const gui::Rect& rect) : CResponsePlot(rect, kEQ) {}
};

}  // namespace kirra::editor
