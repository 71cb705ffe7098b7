#include "editor/plots/CADSRPlot.h"

#include <algorithm>
#include <cmath>

namespace kirra::editor {

namespace {

// Each curved section closes a tenth of its distance to the goal per column; the goals lie a
// little beyond the ends so that the curves arrive.
constexpr float kStepShare = 0.1f;
constexpr float kAttackGoal = 1.02f;
constexpr float kReleaseStart = 0.98f;
constexpr float kReleaseGoal = -0.02f;
constexpr int kTriggerBarHeight = 2;
constexpr int kMarkHeight = 4;
constexpr int kLabelWidth = 8;

}  // namespace

CADSRPlot::CADSRPlot(const gui::Rect& rect) : CModulePlot(rect) {
    xs_ = columnCentres(1);
    curve_.assign(xs_.size(), 0.0f);
    ys_.resize(xs_.size());
    setLevels(0.62996054f, 0.62996054f, 0.099212565f);
}

gui::Rect CADSRPlot::sectionRect(int section) const {
    const gui::Rect area = plotArea();
    const int left = area.left + section * area.width() / kSections;
    const int right = area.left + (section + 1) * area.width() / kSections;
    return {left, area.top, right, area.bottom};
}

int CADSRPlot::boxedSection(int channel) const {
    const int state = state_[channel];
    return state >= 0 && state < kSections ? state : -1;
}

int CADSRPlot::triggerBarLength(int channel) const {
    const float level = std::clamp(triggerLevel_[channel], 0.0f, 1.0f);
    return static_cast<int>(std::cbrt(level) * static_cast<float>(plotArea().width()));
}

int CADSRPlot::markX(float value) const {
    const gui::Rect area = plotArea();
    return area.left +
           static_cast<int>(static_cast<float>(area.width() - 1) * std::clamp(value, 0.0f, 1.0f));
}

void CADSRPlot::setLevels(float sustain, float triggerOn, float triggerOff) {
    if (sustain == sustain_ && triggerOn == triggerOn_ && triggerOff == triggerOff_) return;
    const bool curveChanged = sustain != sustain_;
    sustain_ = sustain;
    triggerOn_ = triggerOn;
    triggerOff_ = triggerOff;
    if (curveChanged) recompute();
    invalid();
}

void CADSRPlot::setRunning(const float triggerLevels[2], const int states[2]) {
    bool changed = false;
    for (int channel = 0; channel < 2; ++channel) {
        const int before = triggerBarLength(channel);
        triggerLevel_[channel] = std::isfinite(triggerLevels[channel]) ? triggerLevels[channel] : 0;
        changed |= triggerBarLength(channel) != before || states[channel] != state_[channel];
        state_[channel] = states[channel];
    }
    if (changed) invalid();
}

void CADSRPlot::recompute() {
    const float sustain = std::clamp(sustain_, 0.0f, 1.0f);
    float level = 0.0f;
    for (int section = 0; section < kSections; ++section) {
        const gui::Rect rect = sectionRect(section);
        if (section == 1) level = 0.0f;
        if (section == 5) level = kReleaseStart * sustain;
        for (int x = rect.left; x < rect.right; ++x) {
            switch (section) {
                case 0:  // delay
                    level = 0.0f;
                    break;
                case 1:  // attack
                    level += (kAttackGoal - level) * kStepShare;
                    break;
                case 2:  // hold
                    level = 1.0f;
                    break;
                case 3:  // decay
                    level += (sustain - level) * kStepShare;
                    break;
                case 4:  // sustain
                    level = sustain;
                    break;
                default:  // release
                    level += (kReleaseGoal - level) * kStepShare;
                    break;
            }
            curve_[x - plotArea().left] = std::clamp(level, 0.0f, 1.0f);
        }
    }
    // The trigger bars run along the edges: the curve stays clear of them.
    const gui::Rect area = plotArea();
    const float top = static_cast<float>(area.top + kMarkHeight + 1);
    const float bottom = static_cast<float>(area.bottom - kMarkHeight - kLabelHeight - 1);
    for (int column = 0; column < columnCount(); ++column)
        ys_[column] = std::round(bottom - curve_[column] * (bottom - top)) + 0.5f;
    invalid();
}

void CADSRPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    const int middle = area.top + area.height() / 2;
    // Boxes of the current sections: left in the upper half, right in the lower.
    for (int channel = 0; channel < 2; ++channel) {
        const int section = boxedSection(channel);
        if (section < 0) continue;
        gui::Rect box = sectionRect(section);
        box = channel == 0 ? gui::Rect{box.left, box.top, box.right, middle}
                           : gui::Rect{box.left, middle, box.right, box.bottom};
        context.setColor(kCurve.withAlpha(40));
        context.fillRect(box);
        context.setColor(kCurve);
        context.frameRect(box);
    }
    for (int section = 1; section < kSections; ++section)
        drawDashedVertical(context, sectionRect(section).left);
    context.setColor(kCurve);
    context.drawPolyline(xs_.data(), ys_.data(), columnCount());

    // Trigger bars along the edges, with the "trig on" and "trig off" ticks.
    for (int channel = 0; channel < 2; ++channel) {
        const int edge = channel == 0 ? area.top : area.bottom - kTriggerBarHeight;
        const int length = triggerBarLength(channel);
        context.setColor(kCurve);
        if (length > 0)
            context.fillRect({area.left, edge, area.left + length, edge + kTriggerBarHeight});
        const int tickTop = channel == 0 ? area.top : area.bottom - kMarkHeight;
        for (float mark : {triggerOn_, triggerOff_}) {
            const int x = markX(mark);
            context.drawLine(x, tickTop, x, tickTop + kMarkHeight - 1);
        }
    }
    drawLabel(context, "L",
              {area.left + 2, area.top + kMarkHeight, area.left + 2 + kLabelWidth,
               area.top + kMarkHeight + kLabelHeight},
              gui::Align::kLeft);
    drawLabel(context, "R",
              {area.left + 2, area.bottom - kMarkHeight - kLabelHeight, area.left + 2 + kLabelWidth,
               area.bottom - kMarkHeight},
              gui::Align::kLeft);
}

}  // namespace kirra::editor
