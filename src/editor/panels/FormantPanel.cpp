#include "editor/panels/FormantPanel.h"

#include <iterator>

#include "editor/plots/CFormantPlot.h"
#include "operators/filters/Formant.h"

namespace kirra::editor {

namespace {

enum Position { kMorph = 0, kVowelA, kVowelB };
const PanelControl kControls[] = {
    {kMorph, 0, 0, 0, 0},
    {kVowelA, 0, 1, Formant::kVowels, 0},
    {kVowelB, 1, 1, Formant::kVowels, 0},
};

}  // namespace

FormantPanel::FormantPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : FilterPanel(rect, context, type) {
    addControls(kControls, static_cast<int>(std::size(kControls)));
    addPlot<CFormantPlot>(2);
}

}  // namespace kirra::editor
