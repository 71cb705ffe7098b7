#include "editor/routing/CMatrixConnOP.h"

#include <cstdio>

#include "editor/CTextPrinter.h"

namespace kirra::editor {

CMatrixConnOP::CMatrixConnOP(const gui::Rect& rect, gui::ControlListener* listener, int tag, int op)
    : BypassBlinking(rect, listener, tag), op_(op) {}

bool CMatrixConnOP::isShowingValue() const {
    return hovered_ || isDragging() || isEntering();
}

void CMatrixConnOP::onMouseEnter() {
    hovered_ = true;
    invalid();
}

void CMatrixConnOP::onMouseExit() {
    hovered_ = false;
    invalid();
}

void CMatrixConnOP::draw(gui::DrawContext& context) {
    if (isShowingValue()) {
        CMatrixConn::draw(context);
        return;
    }
    const gui::Rect& rect = getRect();
    // The block in the light colour like a lit slot button; bypassed, its label fades in the
    // accent colour every half second.
    context.setColor(Skin::kLight.withAlpha(isBypassed() ? 60 : 210));
    context.fillRoundRect(rect, 2.0);
    gui::Color label = Skin::kDark;
    if (isBypassed()) label = Skin::kAccent.withAlpha(isBlinkAlternate() ? 70 : 255);
    char text[16];
    std::snprintf(text, sizeof(text), "OP%d", op_ + 1);
    context.drawText(text, rect, gui::Align::kCenter, Skin::captionFont(), label);
}

}  // namespace kirra::editor
