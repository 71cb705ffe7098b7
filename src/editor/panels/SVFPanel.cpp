#include "editor/panels/SVFPanel.h"

#include <iterator>

#include "editor/panels/FilterPairControls.h"
#include "editor/plots/CSVFPlot.h"

namespace kirra::editor {

SVFPanel::SVFPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kFilterPairControls, static_cast<int>(std::size(kFilterPairControls)));
    addPlot<CSVFPlot>(kFilterPairRows);
}

}  // namespace kirra::editor
