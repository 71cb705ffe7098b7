#include "editor/plots/CENVPlot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace kirra::editor {

namespace {

// History points this quiet or quieter leave their column empty.
constexpr float kSilentPoint = 0.001f;
constexpr int kBarInset = 2;

float usableLevel(float level) {
    return std::isfinite(level) ? std::clamp(level, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

CENVPlot::CENVPlot(const gui::Rect& rect) : CModulePlot(rect) {}

int CENVPlot::visiblePoints() const {
    return std::clamp(plotArea().width() - 2 * kMeterWidth, 0, kHistoryLength);
}

int CENVPlot::heightOf(float level) const {
    return static_cast<int>(usableLevel(level) * static_cast<float>(halfHeight() - 1));
}

float CENVPlot::pointAt(int channel, int age) const {
    int index = (newest_ - age) % kHistoryLength;
    if (index < 0) index += kHistoryLength;
    return history_[channel][index];
}

int CENVPlot::barHeight(int channel, int which) const {
    return heightOf(which == 0 ? input_[channel] : output_[channel]);
}

void CENVPlot::setLevels(const float input[2], const float output[2]) {
    bool changed = false;
    for (int channel = 0; channel < 2; ++channel) {
        changed |= heightOf(input[channel]) != heightOf(input_[channel]) ||
                   heightOf(output[channel]) != heightOf(output_[channel]);
        input_[channel] = usableLevel(input[channel]);
        output_[channel] = usableLevel(output[channel]);
    }
    if (changed) invalid();
}

void CENVPlot::setHistory(const float* left, const float* right, int newestIndex) {
    const float* sources[2] = {left, right};
    bool changed = newestIndex != newest_;
    for (int channel = 0; channel < 2; ++channel) {
        for (int index = 0; index < kHistoryLength; ++index) {
            const float point = usableLevel(sources[channel][index]);
            changed |= point != history_[channel][index];
            history_[channel][index] = point;
        }
    }
    newest_ = std::clamp(newestIndex, 0, kHistoryLength - 1);
    if (changed) invalid();
}

void CENVPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    const int middle = area.top + halfHeight();
    context.setColor(kCurve);
    context.drawLine(area.left, middle, area.right - 1, middle);
    const int leftMeterEdge = area.left + kMeterWidth - 1;
    const int rightMeterEdge = area.right - kMeterWidth;
    context.drawLine(leftMeterEdge, area.top, leftMeterEdge, area.bottom - 1);
    context.drawLine(rightMeterEdge, area.top, rightMeterEdge, area.bottom - 1);

    for (int channel = 0; channel < 2; ++channel) {
        // Each half's baseline is its lower edge.
        const int baseline = channel == 0 ? middle : area.bottom;
        const int inputHeight = barHeight(channel, 0);
        const int outputHeight = barHeight(channel, 1);
        context.setColor(kCurve);
        context.fillRect({area.left + kBarInset, baseline - inputHeight,
                          leftMeterEdge - kBarInset + 1, baseline});
        context.fillRect({rightMeterEdge + kBarInset, baseline - outputHeight,
                          area.right - kBarInset, baseline});
        // The history's columns as one path, filled at once.
        cairo_t* cairo = context.cairo();
        const int points = visiblePoints();
        for (int age = 0; age < points; ++age) {
            const float point = pointAt(channel, age);
            if (point <= kSilentPoint) continue;
            const int height = std::max(heightOf(point), 1);
            cairo_rectangle(cairo, rightMeterEdge - 1 - age, baseline - height, 1, height);
        }
        cairo_fill(cairo);
        const int labelTop = channel == 0 ? area.top : middle + 1;
        drawLabel(context, channel == 0 ? "L" : "R",
                  {leftMeterEdge + 3, labelTop, leftMeterEdge + 12, labelTop + kLabelHeight},
                  gui::Align::kLeft);
    }
}

}  // namespace kirra::editor
