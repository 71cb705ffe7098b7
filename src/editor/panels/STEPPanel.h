#pragma once
// The step sequencer's panel: mode and state, number of steps and grid, smoothing and depth, over
// the step plot on which the sixteen values of each row are drawn and edited.

#include "editor/panels/PlotPanel.h"
#include "editor/plots/CSTEPPlot.h"

namespace kirra::editor {

class CSTEPStateParam;

class STEPPanel : public PlotPanel<CSTEPPlot>, public CSTEPPlot::Listener {
  public:
    STEPPanel(const gui::Rect& rect, const PanelContext& context, int type);
    CSTEPStateParam* stateField() const { return state_; }

    void stepEditStarted(int position) override;
    void stepChanged(int position, float value) override;
    void stepEditEnded(int position) override;

  protected:
    void positionChanged(int position, float value) override;
    void readRunning(const Module& module) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    void showSteps(const float* values);

    CSTEPStateParam* state_ = nullptr;
    int currentStep_ = 0;
};

}  // namespace kirra::editor
