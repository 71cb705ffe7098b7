#include "editor/CCommandButton.h"

#include "editor/Skin.h"
#include "gui/DrawContext.h"

namespace kirra::editor {

void CCommandButton::setAvailable(bool available) {
    if (available == available_) return;
    available_ = available;
    invalid();
}

void CCommandButton::setLabel(const std::string& label) {
    if (label == label_) return;
    label_ = label;
    invalid();
}

void CCommandButton::draw(gui::DrawContext& context) {
    const gui::Rect& box = getRect();
    const gui::Color ink = available_ ? Skin::kLight : Skin::kLight.withAlpha(70);
    context.setColor(Skin::kLight.withAlpha(available_ ? 36 : 20));
    context.fillRoundRect(box, 2.0);
    if (face_ == Face::kText) {
        context.drawText(label_.c_str(), box, gui::Align::kCenter, Skin::smallFont(), ink);
        return;
    }
    // A plain arrow: a shaft across the middle and a head at the pointing end.
    const int midY = (box.top + box.bottom) / 2;
    const int left = box.left + 4;
    const int right = box.right - 4;
    const int tip = face_ == Face::kArrowLeft ? left : right;
    const int back = face_ == Face::kArrowLeft ? tip + 4 : tip - 4;
    context.setColor(ink);
    context.setLineWidth(1.5);
    context.drawLine(left, midY, right, midY);
    context.drawLine(tip, midY, back, midY - 4);
    context.drawLine(tip, midY, back, midY + 4);
}

bool CCommandButton::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    if (available_) changeValue(1.0f);
    return true;
}

}  // namespace kirra::editor
