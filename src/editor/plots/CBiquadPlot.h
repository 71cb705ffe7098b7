#pragma once
// The biquad's response: filters A and B crossfaded by the morph as complex responses.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

class CBiquadPlot : public CResponsePlot {
  public:
    explicit CBiquadPlot(const gui::Rect& rect) : CResponsePlot(rect, kBiquad) {}
};

}  // namespace kirra::editor
