#pragma once
// The response plot of each filter operator: the same drawing of a private instance of the
// module's type, named by the module.

#include "editor/plots/CResponsePlot.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

template <OperatorType Type>
class CFilterPlot : public CResponsePlot {
  public:
    explicit CFilterPlot(const gui::Rect& rect) : CResponsePlot(rect, Type) {}
};

using CBiquadPlot = CFilterPlot<kBiquad>;
using CSVFPlot = CFilterPlot<kSVF>;
using CEQPlot = CFilterPlot<kEQ>;
using CMoogPlot = CFilterPlot<kMoog>;
using CCombPlot = CFilterPlot<kComb>;
using CPhaserPlot = CFilterPlot<kPhaser>;
using CFormantPlot = CFilterPlot<kFormant>;

}  // namespace kirra::editor
