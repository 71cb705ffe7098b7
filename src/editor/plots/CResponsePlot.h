#pragma once
// The magnitude response of a filter operator, in dB over 20 Hz to 20 kHz on a logarithmic
// axis: one value per pixel column, computed from the transfer function the audio uses. The
// plot evaluates a private instance of the operator (the one in the slot belongs to the audio
// thread), so the curve is exactly the response that is heard, the morphs included.
//
// Column i of N (N = width - 4) is 20 * 1000^(i / N) Hz; the curve is 10 log10 |H|^2, or -100 dB
// where |H|^2 is 1e-9 or less; half the height spans 36 dB around the centre line (0 dB), and
// what lies beyond is drawn at the edge.

#include <memory>
#include <vector>

#include "editor/plots/CModulePlot.h"
#include "modules/Operator.h"

namespace kirra::editor {

class CResponsePlot : public CModulePlot {
  public:
    static constexpr double kLowestHz = 20.0;
    static constexpr double kFrequencySpan = 1000.0;  // 20 Hz to 20 kHz
    static constexpr double kDecibelsPerHalfHeight = 36.0;
    static constexpr float kFloorDecibels = -100.0f;

    int columnCount() const { return static_cast<int>(decibels_.size()); }
    double columnFrequencyHz(int column) const;
    float columnDecibels(int column) const { return decibels_[column]; }
    // The pixel row the curve passes at a column.
    int columnY(int column) const { return static_cast<int>(ys_[column]); }
    int columnX(int column) const { return plotArea().left + column; }
    int centreY() const;

    void setSampleRate(float sampleRate);
    // The operator's sixteen position values (base values, or one channel's modulated copies).
    void setValues(const float* positionValues);

    void draw(gui::DrawContext& context) override;
    // The grid's gain and frequency labels.
    void drawScale(gui::DrawContext& context) const;

  protected:
    CResponsePlot(const gui::Rect& rect, int operatorType);

  private:
    void recompute();
    int rowOf(float decibels) const;

    std::unique_ptr<Operator> model_;
    float sampleRate_ = 0.0f;
    OperatorInputs inputs_;
    // per column
    std::vector<float> decibels_;
    std::vector<float> xs_;
    std::vector<float> ys_;
};

}  // namespace kirra::editor
