#include "editor/panels/EQPanel.h"

#include "editor/plots/CFilterPlot.h"
#include "operators/filters/EQ.h"

namespace kirra::editor {

EQPanel::EQPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    for (int band = 0; band < 2; ++band) {
        const int first = band * FilterPair::kPositionsPerFilter;
        addField(first + FilterPair::kFreqA, band, 0);
        q_[band] = addField<CEQQ>(first + FilterPair::kKnobA, band, 1);
        addChoice(first + FilterPair::kTypeA, band, 2, EQ::kShapeCount);
        addField(EQ::kGainA + band, band, 3);
        followChoice(q_[band], first + FilterPair::kTypeA, EQ::kShapeCount);
    }
    addField(FilterPair::kMorph, 0, 4);
    addPlot<CEQPlot>();
}

}  // namespace kirra::editor
