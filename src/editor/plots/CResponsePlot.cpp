#include "editor/plots/CResponsePlot.h"

#include <algorithm>
#include <cmath>

#include "engine/ModuleFactory.h"

namespace kirra::editor {

namespace {

// Below this squared magnitude the curve lies on the floor.
constexpr double kSilentSquaredMagnitude = 1e-9;
constexpr double kGridDecibels[] = {-24.0, -12.0, 12.0, 24.0};
constexpr double kGridHz[] = {100.0, 1000.0, 10000.0};

}  // namespace

CResponsePlot::CResponsePlot(const gui::Rect& rect, int operatorType)
    : CModulePlot(rect), model_(createOperator(operatorType, 0, nullptr)) {
    xs_ = columnCentres(1);
    decibels_.assign(xs_.size(), 0.0f);
    ys_.assign(xs_.size(), static_cast<float>(centreY()));
    for (int position = 0; position < Operator::kPositions; ++position)
        inputs_.values[position] = model_->getDefaultValue(position);
    setSampleRate(44100.0f);
}

double CResponsePlot::columnFrequencyHz(int column) const {
    return kLowestHz * std::pow(kFrequencySpan, static_cast<double>(column) / columnCount());
}

int CResponsePlot::centreY() const {
    const gui::Rect area = plotArea();
    return area.top + area.height() / 2;
}

int CResponsePlot::rowOf(float decibels) const {
    const gui::Rect area = plotArea();
    const double halfHeight = area.height() / 2;
    const double offset = std::trunc(halfHeight * decibels / kDecibelsPerHalfHeight);
    const double row = centreY() - std::clamp(offset, -2.0 * halfHeight, 2.0 * halfHeight);
    return std::clamp(static_cast<int>(row), area.top, area.bottom - 1);
}

void CResponsePlot::setSampleRate(float sampleRate) {
    if (!(sampleRate > 0.0f) || sampleRate == sampleRate_) return;
    sampleRate_ = sampleRate;
    model_->setSampleRate(sampleRate);
    recompute();
}

void CResponsePlot::setValues(const float* positionValues) {
    if (inputs_.update(positionValues)) recompute();
}

void CResponsePlot::recompute() {
    for (int column = 0; column < columnCount(); ++column) {
        const double magnitude = model_->magnitudeAt(inputs_.values, columnFrequencyHz(column));
        const double squared = magnitude * magnitude;
        float decibels = kFloorDecibels;
        if (squared > kSilentSquaredMagnitude) {
            // A lossless feedback loop can answer an infinite peak: the top edge.
            decibels = std::isfinite(squared) ? static_cast<float>(10.0 * std::log10(squared))
                                              : -kFloorDecibels;
        }
        decibels_[column] = decibels;
        ys_[column] = static_cast<float>(rowOf(decibels)) + 0.5f;
    }
    invalid();
}

void CResponsePlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    for (double decibels : kGridDecibels)
        drawDashedHorizontal(context, rowOf(static_cast<float>(decibels)));
    for (double hz : kGridHz) {
        double share = std::log(hz / kLowestHz) / std::log(kFrequencySpan);
        drawDashedVertical(context, columnX(static_cast<int>(share * columnCount())));
    }
    drawDashedHorizontal(context, centreY());
    context.setColor(kCurve);
    context.setLineWidth(1.0);
    context.drawPolyline(xs_.data(), ys_.data(), columnCount());
}

}  // namespace kirra::editor
