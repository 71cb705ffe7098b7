#pragma once
// A module's panel with the module's plot filling the room under its controls.

#include <memory>
#include <utility>

#include "editor/panels/ModulePanel.h"

namespace kirra::editor {

template <typename Plot>
class PlotPanel : public ModulePanel {
  public:
    Plot* plot() const { return plot_; }

  protected:
    using ModulePanel::ModulePanel;

    // The plot (of type Plot or one derived from it) goes under the controls, so it comes last;
    // `arguments` follow its rectangle.
    template <typename Shown = Plot, typename... Arguments>
    void addPlot(Arguments&&... arguments) {
        plot_ = addView(
            std::make_unique<Shown>(areaBelowControls(), std::forward<Arguments>(arguments)...));
    }

  private:
    Plot* plot_ = nullptr;
};

}  // namespace kirra::editor
