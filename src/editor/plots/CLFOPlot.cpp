#include "editor/plots/CLFOPlot.h"

#include <algorithm>

#include "modulators/LFO.h"
#include "modulators/ModulatorMath.h"

namespace kirra::editor {

namespace {

// What sample-and-hold shows: twenty held values over the cycle.
constexpr float kHeldPattern[] = {0.8f,  0.1f,  -0.7f, -1.0f, -0.2f, 0.3f, 0.5f,
                                  -0.1f, 0.9f,  1.0f,  0.3f,  -0.2f, 0.3f, -0.6f,
                                  0.0f,  -0.9f, -0.4f, 0.2f,  -0.3f, 0.5f};
constexpr int kHeldSteps = sizeof(kHeldPattern) / sizeof(kHeldPattern[0]);
constexpr int kMarkerSize = 5;

}  // namespace

CLFOPlot::CLFOPlot(const gui::Rect& rect) : CModulePlot(rect) {
    xs_ = columnCentres(1);
    for (int channel = 0; channel < 2; ++channel) {
        curves_[channel].assign(xs_.size(), 0.0f);
        ys_[channel].assign(xs_.size(), 0.0f);
    }
    setShape(LFO::kSine, 0.0f, 0.5f, 0.5f, 0.5f);
}

int CLFOPlot::phaseColumn() const {
    const int column = static_cast<int>(static_cast<float>(columnCount()) * phase_);
    return std::clamp(column, 0, columnCount() - 1);
}

float CLFOPlot::rowOf(float value) const {
    const gui::Rect area = plotArea();
    const float centre = static_cast<float>(area.top + area.height() / 2);
    const float unit = static_cast<float>(area.height() / 2 - 2);
    return centre - std::clamp(value, -1.0f, 1.0f) * unit + 0.5f;
}

void CLFOPlot::setShape(int waveform, float smooth, float tilt, float offsetLeft,
                        float offsetRight) {
    Shape shape;
    shape.waveform = waveform;
    shape.smooth = smooth;
    shape.tilt = tilt;
    shape.offset[0] = offsetLeft;
    shape.offset[1] = offsetRight;
    if (shape == shape_) return;
    shape_ = shape;
    recompute();
}

void CLFOPlot::setPhase(float phase) {
    phase = std::clamp(phase, 0.0f, 1.0f);
    if (phase == phase_) return;
    const int before = phaseColumn();
    phase_ = phase;
    if (phaseColumn() != before) invalid();
}

float CLFOPlot::shapeInput(int channel, int column) const {
    const int columns = columnCount();
    if (shape_.waveform == LFO::kSampleAndHold) {
        return kHeldPattern[std::min(column * kHeldSteps / columns, kHeldSteps - 1)];
    }
    const float phase = static_cast<float>(column) / static_cast<float>(columns);
    return LFO::shapeAt(shape_.waveform, phase, shape_.offset[channel], shape_.tilt);
}

void CLFOPlot::recompute() {
    const int columns = columnCount();
    // The generator's smoother with one cycle over the columns: the rate cancels out.
    const float coefficient =
        cornerCoefficient(smoothingCorner(1.0f, shape_.smooth), static_cast<float>(columns));
    const bool held = shape_.waveform == LFO::kSampleAndHold;
    for (int channel = 0; channel < 2; ++channel) {
        float smoothed = 0.0f;
        // The first pass settles the smoother (sample-and-hold feeds it silence).
        for (int column = 0; column < columns; ++column) {
            const float input = held ? 0.0f : shapeInput(channel, column);
            smoothed = flushDenormal(smoothed + (input - smoothed) * coefficient);
        }
        for (int column = 0; column < columns; ++column) {
            smoothed =
                flushDenormal(smoothed + (shapeInput(channel, column) - smoothed) * coefficient);
            curves_[channel][column] = smoothed;
            ys_[channel][column] = rowOf(smoothed);
        }
    }
    invalid();
}

void CLFOPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    drawDashedHorizontal(context, area.top + area.height() / 2);
    drawDashedVertical(context, area.left + area.width() / 2);
    context.setLineWidth(1.0);
    // The right channel in a lighter tone, so that the two read apart where they differ.
    for (int channel = 1; channel >= 0; --channel) {
        context.setColor(channel == 0 ? kCurve : kCurve.withAlpha(120));
        context.drawPolyline(xs_.data(), ys_[channel].data(), columnCount());
    }
    context.setColor(kCurve);
    if (shape_.waveform == LFO::kSampleAndHold) return;
    const int column = phaseColumn();
    for (int channel = 0; channel < 2; ++channel) {
        const int x = static_cast<int>(xs_[column]) - kMarkerSize / 2;
        const int y = static_cast<int>(ys_[channel][column]) - kMarkerSize / 2;
        context.fillRect({x, y, x + kMarkerSize, y + kMarkerSize});
    }
}

}  // namespace kirra::editor
