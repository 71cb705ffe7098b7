#include "editor/CModuleButton.h"

#include "editor/ControlHelp.h"
#include "editor/EditorTags.h"
#include "editor/Skin.h"
#include "engine/ParameterIndex.h"
#include "engine/Plugin.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

CModuleButton::CModuleButton(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                             gui::FilmStrip strip, std::string label)
    : BypassBlinking(rect, listener, tag, strip), label_(std::move(label)) {}

void CModuleButton::draw(gui::DrawContext& context) {
    bool on = isOn();
    strip_.draw(context, getRect(), on ? 1 : 0);
    gui::Color text = on ? Skin::kDark : Skin::kLight;
    if (isBypassed()) {
        // Bypassed modules show their label in the accent colour, fading every half second.
        text = on ? Skin::kDark.withAlpha(isBlinkAlternate() ? 90 : 255)
                  : Skin::kAccent.withAlpha(isBlinkAlternate() ? 70 : 255);
    }
    context.drawText(label_.c_str(), getRect(), gui::Align::kCenter, Skin::captionFont(), text);
}

std::string CModuleButton::tooltip(gui::Point /*where*/) const {
    Plugin* plugin = pluginOf(*this);
    if (plugin == nullptr) return label_;
    const int tag = getTag();
    ModuleText text = "";
    std::string help;
    if (tag >= tags::kPageButton0 && tag < tags::kPageButton0 + param::kPageStates) {
        plugin->getEditorText(param::kCurrentMain,
                              indexToValue(tag - tags::kPageButton0, param::kPageStates), text);
        help = std::string("Page: ") + text;
    } else {
        const bool isOperator =
            tag >= tags::kOperatorButton1 && tag < tags::kOperatorButton1 + param::kSlotCount;
        const int slot = tag - (isOperator ? tags::kOperatorButton1 : tags::kModulatorButton1);
        const int type = (isOperator ? param::kOperatorType1 : param::kModulatorType1) + slot;
        plugin->getEditorText(type, plugin->getParameter(type), text);
        help = std::string(isOperator ? "Operator " : "Modulator ") + std::to_string(slot + 1) +
               ": " + text + (isBypassed() ? " (bypassed)" : "");
    }
    return help + "\nclick: show it";
}

bool CModuleButton::onMouseDown(const gui::MouseEvent& event) {
    if (event.isRight() && rightClick_) {
        rightClick_();
        return true;
    }
    if (!event.isLeft()) return false;
    if (!isOn()) changeValue(1.0f);
    return true;
}

}  // namespace kirra::editor
