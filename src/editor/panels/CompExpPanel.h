#pragma once
// The compressor/expander's panel: threshold, ratio (read by the curve type), makeup and its
// automatic switch, attack and release, curve type, key source, detector and listen, over the
// static curve.

#include "editor/panels/CModeParam.h"
#include "editor/panels/PlotPanel.h"

namespace kirra::editor {

class CCompExpPlot;

class CompExpPanel : public PlotPanel<CCompExpPlot> {
  public:
    CompExpPanel(const gui::Rect& rect, const PanelContext& context, int type);
    CCompExpRatioParam* ratioField() const { return ratio_; }

  protected:
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CCompExpRatioParam* ratio_ = nullptr;
};

}  // namespace kirra::editor
