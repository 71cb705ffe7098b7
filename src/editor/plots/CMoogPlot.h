#pragma once
// The ladder filter's response, its resonance peak included.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CMoogPlot : public CResponsePlot {
  public:
    explicit CMoogPlot(const gui::Rect& rect) : CResponsePlot(rect, kMoog) {}
};

}  // namespace kirra::editor
