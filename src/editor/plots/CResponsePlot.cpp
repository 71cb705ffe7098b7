#include "editor/plots/CResponsePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/ModuleFactory.h"

namespace kirra::editor {

namespace {

// Below this squared magnitude the curve lies on the floor.
constexpr double kSilentSquaredMagnitude = 1e-9;
constexpr double kGridDecibels[] = {-24.0, -12.0, 12.0, 24.0};
constexpr double kGridHz[] = {100.0, 1000.0, 10000.0};
constexpr const char* kGridHzLabels[] = {"100 Hz", "1 kHz", "10 kHz"};
constexpr int kLabelWidth = 34;

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
    drawScale(context);
    context.setColor(kCurve);
    context.setLineWidth(1.0);
    context.drawPolyline(xs_.data(), ys_.data(), columnCount());
}

void CResponsePlot::drawScale(gui::DrawContext& context) const {
    const gui::Rect area = plotArea();
    // Gains at the left edge, each just above its line; a plot too low for them all keeps the
    // centre and the outer lines.
    const bool roomForAll = rowOf(0.0f) - rowOf(12.0f) > kLabelHeight;
    for (double decibels : {24.0, 12.0, 0.0, -12.0, -24.0}) {
        if (!roomForAll && std::fabs(decibels) == 12.0) continue;
        const int y = rowOf(static_cast<float>(decibels));
        char text[12];
        std::snprintf(text, sizeof(text), decibels == 0.0 ? "0 dB" : "%+.0f", decibels);
        drawLabel(context, text, {area.left + 2, y - kLabelHeight, area.left + 2 + kLabelWidth, y},
                  gui::Align::kLeft);
    }
    // Frequencies along the bottom, right of their line, or left of it where the plot ends.
    for (int mark = 0; mark < 3; ++mark) {
        double share = std::log(kGridHz[mark] / kLowestHz) / std::log(kFrequencySpan);
        const int x = columnX(static_cast<int>(share * columnCount()));
        const int width =
            static_cast<int>(context.textWidth(kGridHzLabels[mark], Skin::smallFont())) + 1;
        gui::Rect box{x + 2, area.bottom - kLabelHeight, x + 2 + width, area.bottom};
        if (box.right > area.right - 1) box = {x - 2 - width, box.top, x - 2, box.bottom};
        drawLabel(context, kGridHzLabels[mark], box, gui::Align::kLeft);
    }
}

}  // namespace kirra::editor
