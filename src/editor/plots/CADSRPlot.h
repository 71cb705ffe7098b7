#pragma once
// The ADSR as a schematic: six equal sections (delay, attack, hold, decay, sustain, release)
// with one-pole curves that do not follow the time settings, the sustain level, the section each
// channel's envelope is in (left boxed at the top, right at the bottom), and the two trigger
// levels as bars along the top and bottom edges with the "trig on" and "trig off" marks. Levels
// and marks share the cube-root scale of the level parameters.

#include <vector>

#include "editor/plots/CModulePlot.h"

namespace kirra::editor {

class CADSRPlot : public CModulePlot {
  public:
    static constexpr int kSections = 6;
    static constexpr int kIdleState = 6;

    explicit CADSRPlot(const gui::Rect& rect);

    int columnCount() const { return static_cast<int>(curve_.size()); }
    // The curve at a column, as a share of the usable height (0..1).
    float curveAt(int column) const { return curve_[column]; }
    gui::Rect sectionRect(int section) const;
    // The section boxed for a channel, or -1 (idle).
    int boxedSection(int channel) const;
    // Length in pixels of a channel's trigger bar.
    int triggerBarLength(int channel) const;

    // "sustain", "trigon" and "trigoff" as normalised values.
    void setLevels(float sustain, float triggerOn, float triggerOff);
    // Trigger levels (sensitivity times trigger) and envelope states, per channel.
    void setRunning(const float triggerLevels[2], const int states[2]);

    void draw(gui::DrawContext& context) override;

  private:
    void recompute();
    int markX(float value) const;

    float sustain_ = -1.0f;
    float triggerOn_ = 0.0f;
    float triggerOff_ = 0.0f;
    float triggerLevel_[2] = {};
    int state_[2] = {kIdleState, kIdleState};
    std::vector<float> curve_;
    std::vector<float> xs_;
    std::vector<float> ys_;
};

}  // namespace kirra::editor
