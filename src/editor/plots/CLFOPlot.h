#pragma once
// One cycle of the LFO's left and right waveform, with the current phase marked on each.
//
// The curves go through the generator's own shape and smoother with the cycle spread over the
// plot's N columns: the smoothing corner is 20000^((1 - smooth)^2) times the rate, so with one
// cycle per N samples the rate drops out and the coefficient is 1 - exp(-2 pi 20000^((1-s)^2) / N).
// A first pass over the cycle brings the smoother to its steady state, the second one is drawn.
// Sample-and-hold draws a fixed pattern of twenty steps for both channels.

#include <vector>

#include "editor/plots/CModulePlot.h"

namespace kirra::editor {

class CLFOPlot : public CModulePlot {
  public:
    explicit CLFOPlot(const gui::Rect& rect);

    int columnCount() const { return static_cast<int>(curves_[0].size()); }
    // A channel's curve (0 left, 1 right), -1..1, at a column.
    float valueAt(int channel, int column) const { return curves_[channel][column]; }
    // The column the phase marks.
    int phaseColumn() const;

    void setShape(int waveform, float smooth, float tilt, float offsetLeft, float offsetRight);
    void setPhase(float phase);

    void draw(gui::DrawContext& context) override;

  private:
    static constexpr int kLegendLine = 12;

    struct Shape {
        int waveform = -1;
        float smooth = 0.0f;
        float tilt = 0.0f;
        float offset[2] = {};
        bool operator==(const Shape& other) const {
            return waveform == other.waveform && smooth == other.smooth && tilt == other.tilt &&
                   offset[0] == other.offset[0] && offset[1] == other.offset[1];
        }
    };

    void recompute();
    void drawLegend(gui::DrawContext& context) const;
    float shapeInput(int channel, int column) const;
    float rowOf(float value) const;

    Shape shape_;
    float phase_ = 0.0f;
    std::vector<float> curves_[2];
    std::vector<float> xs_;
    std::vector<float> ys_[2];
};

}  // namespace kirra::editor
