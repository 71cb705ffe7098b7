#include "editor/plots/CCompExpPlot.h"

#include <algorithm>

#include "operators/effects/CompExp.h"

namespace kirra::editor {

namespace {

constexpr int kLabelWidth = 24;

}  // namespace

CCompExpPlot::CCompExpPlot(const gui::Rect& rect) : CModulePlot(rect) {
    xs_ = columnCentres(2);
    outputDb_.assign(xs_.size(), 0.0f);
    ys_.resize(xs_.size());
}

float CCompExpPlot::columnInputDb(int column) const {
    return kLowestDb * (1.0f - static_cast<float>(column) / static_cast<float>(columnCount() - 1));
}

float CCompExpPlot::rowOf(float decibels) const {
    const gui::Rect area = plotArea();
    const float share = std::clamp((decibels - kLowestDb) / -kLowestDb, 0.0f, 1.0f);
    return static_cast<float>(area.bottom - 1) - share * static_cast<float>(area.height() - 1) +
           0.5f;
}

void CCompExpPlot::setValues(const float* positionValues) {
    if (inputs_.update(positionValues)) recompute();
}

void CCompExpPlot::recompute() {
    for (int column = 0; column < columnCount(); ++column) {
        const float input = columnInputDb(column);
        outputDb_[column] = input + CompExp::curveGainDb(inputs_.values, input);
        ys_[column] = rowOf(outputDb_[column]);
    }
    invalid();
}

void CCompExpPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    const int middleX = area.left + area.width() / 2;
    const int middleY = static_cast<int>(rowOf(kLowestDb / 2));
    drawDashedHorizontal(context, middleY);
    drawDashedVertical(context, middleX);
    // Unity: what leaves the curve's input untouched.
    context.setColor(gridColor());
    context.setLineStyle(gui::LineStyle::kDashed);
    context.drawLine(area.left, area.bottom - 1, area.right - 1, area.top);
    context.setLineStyle(gui::LineStyle::kSolid);
    context.setColor(kCurve);
    context.drawPolyline(xs_.data(), ys_.data(), columnCount());

    drawLabel(
        context, "OUT",
        {area.left + 2, area.top + 1, area.left + 2 + kLabelWidth, area.top + 1 + kLabelHeight},
        gui::Align::kLeft);
    drawLabel(context, "IN",
              {area.right - 2 - kLabelWidth, area.bottom - 1 - kLabelHeight, area.right - 2,
               area.bottom - 1},
              gui::Align::kRight);
    // The marks sit by the middle lines (-30 dB in and out); the top edge is 0 dB out.
    drawLabel(context, "0dB",
              {middleX + 2, area.top + 1, middleX + 2 + kLabelWidth, area.top + 1 + kLabelHeight},
              gui::Align::kLeft);
    drawLabel(
        context, "-30",
        {middleX + 2, area.bottom - 1 - kLabelHeight, middleX + 2 + kLabelWidth, area.bottom - 1},
        gui::Align::kLeft);
}

}  // namespace kirra::editor
