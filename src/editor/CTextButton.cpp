#include "editor/CTextButton.h"

#include "editor/Skin.h"

namespace kirra::editor {

void CTextButton::draw(gui::DrawContext& context) {
    bool on = getValue() >= 0.5f;
    context.setColor(on ? Skin::kLight : Skin::kLight.withAlpha(36));
    context.fillRoundRect(getRect(), 3);
    context.drawText(label_.c_str(), getRect(), gui::Align::kCenter, Skin::captionFont(),
                     on ? Skin::kDark : Skin::kLight);
}

bool CTextButton::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    changeValue(getValue() >= 0.5f ? 0.0f : 1.0f);
    return true;
}

}  // namespace kirra::editor
