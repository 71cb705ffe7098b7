#pragma once
// The LFO's panel: rate (hertz or a note value by the mode), shape, smoothing, mode, the two
// offsets, tilt and depth, over one cycle of the waveform with the phase marked. Switching the
// mode from here converts the rate so that the period stays about the same.

#include "editor/panels/CModeParam.h"
#include "editor/panels/PlotPanel.h"

namespace kirra::editor {

class CLFOPlot;

class LFOPanel : public PlotPanel<CLFOPlot> {
  public:
    LFOPanel(const gui::Rect& rect, const PanelContext& context, int type);
    CLFORateParam* rateField() const { return rate_; }

  protected:
    void beforeChange(int position, float value) override;
    void readRunning(const Module& module) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CLFORateParam* rate_ = nullptr;
    float phase_ = 0.0f;
};

}  // namespace kirra::editor
