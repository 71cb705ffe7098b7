#include "editor/panels/FilterPanel.h"

namespace kirra::editor {

void FilterPanel::updatePlot(const Snapshot& snapshot) {
    if (plot_ == nullptr) return;
    plot_->setSampleRate(snapshot.sampleRate);
    plot_->setValues(snapshot.shown);
}

}  // namespace kirra::editor
