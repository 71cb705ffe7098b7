#pragma once
// The compressor/expander's static curve: output level over input level, both from -60 to
// 0 dB, with the makeup gain, and the unity line for reference. Axes "IN" and "OUT", marks
// "0dB" and "-30". While audio runs a dot on the curve shows where the detected level is.

#include <vector>

#include "editor/plots/CModulePlot.h"
#include "modules/Operator.h"

namespace kirra::editor {

class CCompExpPlot : public CModulePlot {
  public:
    static constexpr float kLowestDb = -60.0f;

    explicit CCompExpPlot(const gui::Rect& rect);

    int columnCount() const { return static_cast<int>(outputDb_.size()); }
    float columnInputDb(int column) const;
    float columnOutputDb(int column) const { return outputDb_[column]; }

    // The operator's position values (base values or one channel's modulated copies).
    void setValues(const float* positionValues);
    // The detector's level while audio runs, shown as a dot on the curve; not running hides it.
    void setInputLevel(float levelDb, bool running);
    bool showsInputLevel() const { return levelShown_; }

    void draw(gui::DrawContext& context) override;

  private:
    void recompute();
    float rowOf(float decibels) const;

    OperatorInputs inputs_;
    std::vector<float> outputDb_;
    std::vector<float> xs_;
    std::vector<float> ys_;
    float levelDb_ = kLowestDb;
    bool levelShown_ = false;
};

}  // namespace kirra::editor
