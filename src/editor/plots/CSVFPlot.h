#pragma once
// The state-variable filter's response: the four-times oversampled filters A and B, morphed.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CSVFPlot : public CResponsePlot {
  public:
    explicit CSVFPlot(const gui::Rect& rect) : CResponsePlot(rect, kSVF) {}
};

}  // namespace kirra::editor
