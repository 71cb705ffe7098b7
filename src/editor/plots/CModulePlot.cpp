#include "editor/plots/CModulePlot.h"

namespace kirra::editor {

std::vector<float> CModulePlot::columnCentres(int least) const {
    const gui::Rect area = plotArea();
    std::vector<float> centres(std::max(area.width(), least));
    for (size_t column = 0; column < centres.size(); ++column)
        centres[column] = static_cast<float>(area.left + static_cast<int>(column)) + 0.5f;
    return centres;
}

void CModulePlot::drawBackground(gui::DrawContext& context) const {
    context.setColor(kBackground);
    context.fillRect(getRect());
    context.setLineWidth(1.0);
    context.setLineStyle(gui::LineStyle::kSolid);
    context.setColor(kCurve);
    context.frameRect(getRect());
}

void CModulePlot::drawDashedHorizontal(gui::DrawContext& context, int y) const {
    const gui::Rect area = plotArea();
    context.setLineStyle(gui::LineStyle::kDashed);
    context.setColor(gridColor());
    context.drawLine(area.left, y, area.right - 1, y);
    context.setLineStyle(gui::LineStyle::kSolid);
}

void CModulePlot::drawDashedVertical(gui::DrawContext& context, int x) const {
    const gui::Rect area = plotArea();
    context.setLineStyle(gui::LineStyle::kDotted);
    context.setColor(gridColor());
    context.drawLine(x, area.top, x, area.bottom - 1);
    context.setLineStyle(gui::LineStyle::kSolid);
}

void CModulePlot::drawLabel(gui::DrawContext& context, const char* text, const gui::Rect& box,
                            gui::Align align) const {
    context.drawText(text, box, align, Skin::smallFont(), kCurve);
}

}  // namespace kirra::editor
