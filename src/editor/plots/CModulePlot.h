#pragma once
// What the module plots share: a light screen with a dark frame inside the view's rectangle,
// dark curves and dashed grid lines. A plot keeps a copy of what it draws, set by its panel
// through setters that recompute a curve only when their inputs change; drawing never computes.

#include <algorithm>
#include <vector>

#include "editor/Skin.h"
#include "gui/View.h"
#include "modules/Operator.h"

namespace kirra::editor {

class CModulePlot : public gui::View {
  public:
    explicit CModulePlot(const gui::Rect& rect) : View(rect) {}

    // Inside the frame, where curves go.
    gui::Rect plotArea() const { return getRect().inset(kInset, kInset); }
    // The x of each pixel column's centre across the plot area, at least `least` of them: where
    // a curve computed per column is drawn.
    std::vector<float> columnCentres(int least) const;

  protected:
    // The operator position values a curve was last computed from.
    struct OperatorInputs {
        float values[Operator::kPositions] = {};
        bool valid = false;
        // Takes new values; false when they equal the stored ones (nothing to recompute).
        bool update(const float* positionValues) {
            if (valid && std::equal(positionValues, positionValues + Operator::kPositions, values))
                return false;
            std::copy(positionValues, positionValues + Operator::kPositions, values);
            valid = true;
            return true;
        }
    };

    static constexpr int kInset = 2;
    // The height of a label's box: one line of the small font.
    static constexpr int kLabelHeight = 9;
    static constexpr gui::Color kBackground = Skin::kLight;
    static constexpr gui::Color kCurve = Skin::kDark;
    static gui::Color gridColor() { return Skin::kDark.withAlpha(90); }

    void drawBackground(gui::DrawContext& context) const;
    void drawDashedHorizontal(gui::DrawContext& context, int y) const;
    void drawDashedVertical(gui::DrawContext& context, int x) const;
    // A small label in the curve colour.
    void drawLabel(gui::DrawContext& context, const char* text, const gui::Rect& box,
                   gui::Align align) const;
};

}  // namespace kirra::editor
