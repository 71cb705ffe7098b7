#pragma once
// The distortion's waveshaper: output over input from -1 to 1 at the drive set, for the chosen
// curve (the asymmetric ones with their offset at silence taken off, as the DC blocker does).
// The output axis reaches 1.5, since the asymmetric curves swing further one way; dashed lines
// mark +-1.

#include <vector>

#include "editor/plots/CModulePlot.h"
#include "modules/Operator.h"

namespace kirra::editor {

class CDistortionPlot : public CModulePlot {
  public:
    static constexpr float kOutputSpan = 1.5f;

    explicit CDistortionPlot(const gui::Rect& rect);

    int columnCount() const { return static_cast<int>(output_.size()); }
    float columnInput(int column) const;
    float columnOutput(int column) const { return output_[column]; }
    float rowOf(float output) const;

    void setValues(const float* positionValues);

    void draw(gui::DrawContext& context) override;

  private:
    void recompute();

    OperatorInputs inputs_;
    std::vector<float> output_;
    std::vector<float> xs_;
    std::vector<float> ys_;
};

}  // namespace kirra::editor
