#include "editor/panels/BiquadPanel.h"

#include <iterator>

#include "editor/panels/FilterPairControls.h"
#include "editor/plots/CBiquadPlot.h"

namespace kirra::editor {

BiquadPanel::BiquadPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kFilterPairControls, static_cast<int>(std::size(kFilterPairControls)));
    addPlot<CBiquadPlot>(kFilterPairRows);
}

}  // namespace kirra::editor
