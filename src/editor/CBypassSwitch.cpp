#include "editor/CBypassSwitch.h"

#include "editor/Skin.h"
#include "gui/DrawContext.h"

namespace kirra::editor {

void CBypassSwitch::draw(gui::DrawContext& context) {
    const gui::Rect& box = getRect();
    const bool bypassed = isBypassed();
    context.setColor(bypassed ? Skin::kAccent : Skin::kLight.withAlpha(36));
    context.fillRoundRect(box, 2.0);
    context.drawText("B", box, gui::Align::kCenter, Skin::smallFont(),
                     bypassed ? Skin::kDark : Skin::kLight);
}

bool CBypassSwitch::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    changeValue(isBypassed() ? 0.0f : 1.0f);
    return true;
}

}  // namespace kirra::editor
