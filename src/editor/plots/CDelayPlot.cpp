#include "editor/plots/CDelayPlot.h"

#include <algorithm>
#include <cmath>

#include "modules/ModuleText.h"

namespace kirra::editor {

namespace {

constexpr double kShortestSpanSeconds = 0.01;
constexpr int kEchoesShown = 4;
constexpr int kTimeDivisions = 4;
constexpr int kLabelWidth = 40;

}  // namespace

CDelayPlot::CDelayPlot(const gui::Rect& rect) : CModulePlot(rect) {
    for (auto& echoes : echoes_)
        echoes.reserve(kMaxEchoes);
}

int CDelayPlot::columnOf(double seconds) const {
    const gui::Rect area = plotArea();
    const double share = std::clamp(seconds / spanSeconds_, 0.0, 1.0);
    return area.left + static_cast<int>(share * (area.width() - 2));
}

void CDelayPlot::setValues(const float* positionValues, float tempoBpm, float sampleRate) {
    bool changed = inputs_.update(positionValues);
    if (tempoBpm != tempoBpm_ || sampleRate != sampleRate_) {
        tempoBpm_ = tempoBpm;
        sampleRate_ = sampleRate;
        changed = true;
    }
    if (changed) recompute();
}

void CDelayPlot::recompute() {
    const float* values = inputs_.values;
    const int mode = valueToIndex(values[DelayLine::kMode], 2);
    const float longest =
        std::max(DelayLine::normalisedTime(values[DelayLine::kTimeLeft], mode, tempoBpm_),
                 DelayLine::normalisedTime(values[DelayLine::kTimeRight], mode, tempoBpm_));
    spanSeconds_ = std::clamp(static_cast<double>(kEchoesShown * longest * DelayLine::kMaxSeconds),
                              kShortestSpanSeconds, kLongestSpanSeconds);
    DelayLine::Echo found[kMaxEchoes];
    for (int input = 0; input < 2; ++input) {
        const int count =
            DelayLine::echoes(values, sampleRate_, tempoBpm_, input, found, kMaxEchoes);
        echoes_[input].assign(found, found + count);
    }
    invalid();
}

void CDelayPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    const int middle = area.top + area.height() / 2;
    for (int division = 1; division < kTimeDivisions; ++division)
        drawDashedVertical(context, columnOf(spanSeconds_ * division / kTimeDivisions));
    context.setColor(kCurve);
    context.drawLine(area.left, middle, area.right - 1, middle);
    const int reach = area.height() / 2 - 2;
    for (int input = 1; input >= 0; --input) {
        context.setColor(input == 0 ? kCurve : kCurve.withAlpha(120));
        for (const DelayLine::Echo& echo : echoes_[input]) {
            if (echo.seconds > spanSeconds_) break;
            const int x = columnOf(echo.seconds) + input;
            const int up = static_cast<int>(std::min(std::fabs(echo.left), 1.0f) * reach);
            const int down = static_cast<int>(std::min(std::fabs(echo.right), 1.0f) * reach);
            if (up > 0) context.fillRect({x, middle - up, x + 1, middle});
            if (down > 0) context.fillRect({x, middle + 1, x + 1, middle + 1 + down});
        }
    }
    ModuleText span = "";
    if (spanSeconds_ < 1.0) {
        formatText(span, "%.0f ms", 1000.0 * spanSeconds_);
    } else {
        formatText(span, "%.1f s", spanSeconds_);
    }
    drawLabel(context, span,
              {area.right - 2 - kLabelWidth, area.bottom - 1 - kLabelHeight, area.right - 2,
               area.bottom - 1},
              gui::Align::kRight);
    drawLabel(context, "L", {area.left + 2, area.top + 1, area.left + 10, area.top + 10},
              gui::Align::kLeft);
    drawLabel(context, "R", {area.left + 2, area.bottom - 10, area.left + 10, area.bottom - 1},
              gui::Align::kLeft);
}

}  // namespace kirra::editor
