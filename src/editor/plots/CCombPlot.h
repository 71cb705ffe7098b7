#pragma once
// The comb filter's teeth, with the interpolation's loss at fractional delays.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CCombPlot : public CResponsePlot {
  public:
    explicit CCombPlot(const gui::Rect& rect) : CResponsePlot(rect, kComb) {}
};

}  // namespace kirra::editor
