#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

void FilterPanel::updatePlot(const Snapshot& snapshot) {
    if (plot() == nullptr) return;
    plot()->setSampleRate(snapshot.sampleRate);
    plot()->setValues(snapshot.shown);
}

}  // namespace kirra::editor
