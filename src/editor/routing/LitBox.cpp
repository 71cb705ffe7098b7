#include "editor/routing/LitBox.h"

#include "editor/Skin.h"

namespace kirra::editor {

void drawLitBox(gui::DrawContext& context, const gui::Rect& rect, bool lit, const char* text) {
    context.setLineWidth(1.0);
    context.setLineStyle(gui::LineStyle::kSolid);
    if (lit) {
        context.setColor(Skin::kLight);
        context.fillRoundRect(rect, 2.0);
    } else {
        context.setColor(Skin::kLight.withAlpha(70));
        context.frameRoundRect(rect, 2.0);
    }
    context.drawText(text, rect, gui::Align::kCenter, Skin::captionFont(),
                     lit ? Skin::kDark : Skin::kLight);
}

}  // namespace kirra::editor
