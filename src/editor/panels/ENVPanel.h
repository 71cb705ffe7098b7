#pragma once
// The envelope detector's panel: source and mode, sensitivity and link, attack and release, and
// depth, over the detector's levels and the history of its output.

#include "editor/panels/PlotPanel.h"
#include "modulators/ENV.h"

namespace kirra::editor {

class CENVPlot;

class ENVPanel : public PlotPanel<CENVPlot> {
  public:
    ENVPanel(const gui::Rect& rect, const PanelContext& context, int type);

  protected:
    void readRunning(const Module& module) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    // running values, read under the engine mutex
    float input_[2] = {};
    float output_[2] = {};
    float history_[2][ENV::kHistoryLength] = {};
    int newest_ = 0;
};

}  // namespace kirra::editor
