#pragma once
// The formant filter's three resonances between vowel A and vowel B.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CFormantPlot : public CResponsePlot {
  public:
    explicit CFormantPlot(const gui::Rect& rect) : CResponsePlot(rect, kFormant) {}
};

}  // namespace kirra::editor
