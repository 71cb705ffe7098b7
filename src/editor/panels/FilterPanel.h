#pragma once
// A filter operator's panel: its controls over its magnitude response. The plot follows the base
// values, or the previewed channel's modulated copies, and the sample rate.

#include <memory>

#include "editor/panels/PlotPanel.h"
#include "editor/plots/CResponsePlot.h"

namespace kirra::editor {

class FilterPanel : public PlotPanel<CResponsePlot> {
  public:
    FilterPanel(const gui::Rect& rect, const PanelContext& context, int type)
        : PlotPanel(rect, context, type) {}

    // The panel of a filter whose controls are a plain table, the response under them.
    template <typename Plot>
    static std::unique_ptr<FilterPanel> withControls(const gui::Rect& rect,
                                                     const PanelContext& context, int type,
                                                     const PanelControl* controls, int count) {
        auto panel = std::make_unique<FilterPanel>(rect, context, type);
        panel->addControls(controls, count);
        panel->addPlot<Plot>();
        return panel;
    }

  protected:
    void updatePlot(const Snapshot& snapshot) override;
};

}  // namespace kirra::editor
