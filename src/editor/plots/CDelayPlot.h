#pragma once
// The delay's echoes of an impulse: time runs to the right from the impulse at the left edge;
// what reaches the left output stands up from the middle line, what reaches the right output
// hangs down from it. Echoes of an impulse into the left input are drawn dark, those of the
// right input lighter and one pixel later, so that cross-panning and ping-pong show. The time
// span is four times the longer of the two delay times.

#include <vector>

#include "editor/plots/CModulePlot.h"
#include "operators/effects/DelayLine.h"

namespace kirra::editor {

class CDelayPlot : public CModulePlot {
  public:
    static constexpr int kMaxEchoes = 64;
    static constexpr double kLongestSpanSeconds = 16.0;

    explicit CDelayPlot(const gui::Rect& rect);

    double getSpanSeconds() const { return spanSeconds_; }
    // The echoes of an impulse into one input (0 left, 1 right), in order of time.
    const std::vector<DelayLine::Echo>& echoesOf(int input) const { return echoes_[input]; }
    int columnOf(double seconds) const;

    // Position values whose times are read in the mode they state, at a tempo and sample rate.
    void setValues(const float* positionValues, float tempoBpm, float sampleRate);

    void draw(gui::DrawContext& context) override;

  private:
    void recompute();

    OperatorInputs inputs_;
    float tempoBpm_ = 0.0f;
    float sampleRate_ = 0.0f;
    double spanSeconds_ = 1.0;
    std::vector<DelayLine::Echo> echoes_[2];
};

}  // namespace kirra::editor
