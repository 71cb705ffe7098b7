#pragma once
// The delay's panel: both times (milliseconds or note names by the mode), feedback, mode,
// interpolation, feedback mode and the two pans ("pan R" dragging the other way round), over the
// echoes of an impulse. Switching the mode from here converts both times, keeping the durations
// as near as the note values allow.

#include "editor/panels/CModeParam.h"
#include "editor/panels/ModulePanel.h"

namespace kirra::editor {

class CDelayPlot;

class DelayLinePanel : public ModulePanel {
  public:
    DelayLinePanel(const gui::Rect& rect, const PanelContext& context, int type);
    CDelayPlot* plot() const { return plot_; }
    CDelayTimeParam* timeField(int channel) const { return time_[channel]; }

  protected:
    void beforeChange(int position, float value) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CDelayPlot* plot_ = nullptr;
    CDelayTimeParam* time_[2] = {};
};

}  // namespace kirra::editor
