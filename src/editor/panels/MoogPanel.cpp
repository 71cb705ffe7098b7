#include "editor/panels/MoogPanel.h"

#include <iterator>

#include "editor/plots/CMoogPlot.h"

namespace kirra::editor {

namespace {

enum Position { kCutoff = 0, kEmphasis };
const PanelControl kControls[] = {
    {kCutoff, 0, 0, 0, 0},
    {kEmphasis, 1, 0, 0, 0},
};

}  // namespace

MoogPanel::MoogPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kControls, static_cast<int>(std::size(kControls)));
    addPlot<CMoogPlot>(1);
}

}  // namespace kirra::editor
