#pragma once
// The distortion's panel: drive, band frequency and width, the curve, diffusion and the
// crossover switch, over the waveshaper curve.

#include "editor/panels/PlotPanel.h"

namespace kirra::editor {

class CDistortionPlot;

class DistortionPanel : public PlotPanel<CDistortionPlot> {
  public:
    DistortionPanel(const gui::Rect& rect, const PanelContext& context, int type);

  protected:
    void updatePlot(const Snapshot& snapshot) override;
};

}  // namespace kirra::editor
