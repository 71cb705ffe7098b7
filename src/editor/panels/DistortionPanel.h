#pragma once
// The distortion's panel: drive, band frequency and width, the curve, diffusion and the
// crossover switch, over the waveshaper curve.

#include "editor/panels/ModulePanel.h"

namespace kirra::editor {

class CDistortionPlot;

class DistortionPanel : public ModulePanel {
  public:
    DistortionPanel(const gui::Rect& rect, const PanelContext& context, int type);
    CDistortionPlot* plot() const { return plot_; }

  protected:
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CDistortionPlot* plot_ = nullptr;
};

}  // namespace kirra::editor
