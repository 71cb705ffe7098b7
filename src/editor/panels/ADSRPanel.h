#pragma once
// The ADSR's panel: the five times (milliseconds or tempo divisions by the mode) and the sustain
// on the left; mode, trigger sensitivity, the trigger thresholds and depth on the right; under
// them the schematic envelope with the segment each channel is in and the trigger levels.
// Switching the mode from here converts the five times at the current tempo.

#include "editor/panels/CModeParam.h"
#include "editor/panels/PlotPanel.h"

namespace kirra::editor {

class CADSRPlot;

class ADSRPanel : public PlotPanel<CADSRPlot> {
  public:
    static constexpr int kSegments = 5;

    ADSRPanel(const gui::Rect& rect, const PanelContext& context, int type);
    CADSRSegment* segmentField(int segment) const { return segments_[segment]; }

  protected:
    void beforeChange(int position, float value) override;
    void readRunning(const Module& module) override;
    void updatePlot(const Snapshot& snapshot) override;

  private:
    CADSRSegment* segments_[kSegments] = {};
    float triggerLevel_[2] = {};
    int state_[2] = {};
};

}  // namespace kirra::editor
