#include "editor/plots/CDistortionPlot.h"

#include <algorithm>
#include <cmath>

#include "operators/effects/Distortion.h"

namespace kirra::editor {

CDistortionPlot::CDistortionPlot(const gui::Rect& rect) : CModulePlot(rect) {
    xs_ = columnCentres(2);
    output_.assign(xs_.size(), 0.0f);
    ys_.resize(xs_.size());
}

float CDistortionPlot::columnInput(int column) const {
    return -1.0f + 2.0f * static_cast<float>(column) / static_cast<float>(columnCount() - 1);
}

float CDistortionPlot::rowOf(float output) const {
    const gui::Rect area = plotArea();
    const float centre = static_cast<float>(area.top + area.height() / 2);
    const float unit = static_cast<float>(area.height() / 2 - 1) / kOutputSpan;
    const float limited =
        std::isfinite(output) ? std::clamp(output, -kOutputSpan, kOutputSpan) : 0.0f;
    return centre - limited * unit + 0.5f;
}

void CDistortionPlot::setValues(const float* positionValues) {
    if (inputs_.update(positionValues)) recompute();
}

void CDistortionPlot::recompute() {
    for (int column = 0; column < columnCount(); ++column) {
        output_[column] = Distortion::transferCurve(inputs_.values, columnInput(column));
        ys_[column] = rowOf(output_[column]);
    }
    invalid();
}

void CDistortionPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    drawDashedHorizontal(context, area.top + area.height() / 2);
    drawDashedVertical(context, area.left + area.width() / 2);
    drawDashedHorizontal(context, static_cast<int>(rowOf(1.0f)));
    drawDashedHorizontal(context, static_cast<int>(rowOf(-1.0f)));
    context.setColor(kCurve);
    context.drawPolyline(xs_.data(), ys_.data(), columnCount());
}

}  // namespace kirra::editor
