#pragma once
// The delay's panel: both times (milliseconds or note names by the mode), feedback, mode,
// interpolation, feedback mode and the two pans ("pan R" dragging the other way round), over the
// echoes of an impulse. Switching the mode from here converts both times, keeping the durations
// as near as the note values allow.

#include "editor/panels/CModeParam.h"
#include "editor/panels/PlotPanel.h"

namespace kirra::editor {

class CDelayPlot;

class DelayLinePanel : public PlotPanel<CDelayPlot> {
  public:
    DelayLinePanel(const gui::Rect& rect, const PanelContext& context, int type);
    CDelayTimeParam* timeField(int channel) const { return time_[channel]; }

  protected:
    void beforeChange(int position, float value) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CDelayTimeParam* time_[2] = {};
};

}  // namespace kirra::editor
