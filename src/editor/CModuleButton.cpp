#include "editor/CModuleButton.h"

#include "editor/Skin.h"

namespace kirra::editor {

CModuleButton::CModuleButton(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                             gui::FilmStrip strip, std::string label)
    : BypassBlinking(rect, listener, tag, strip), label_(std::move(label)) {}

void CModuleButton::draw(gui::DrawContext& context) {
    bool on = isOn();
    strip_.draw(context, getRect(), on ? 1 : 0);
    gui::Color text = on ? Skin::kDark : Skin::kLight.withAlpha(190);
    if (isBypassed()) {
        // Bypassed modules show their label in the accent colour, fading every half second.
        text = on ? Skin::kDark.withAlpha(isBlinkAlternate() ? 90 : 255)
                  : Skin::kAccent.withAlpha(isBlinkAlternate() ? 70 : 255);
    }
    context.drawText(label_.c_str(), getRect(), gui::Align::kCenter, Skin::captionFont(), text);
}

bool CModuleButton::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    if (!isOn()) changeValue(1.0f);
    return true;
}

}  // namespace kirra::editor
