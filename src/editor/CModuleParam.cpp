#include "editor/CModuleParam.h"

#include <algorithm>
#include <string>

#include "editor/CTextPrinter.h"
#include "editor/ControlHelp.h"
#include "vst/AudioEffect.h"

namespace kirra::editor {

using gui::Align;

CModuleParam::CModuleParam(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                           const char* name, ValueTextSource* source, int position, int nameWidth)
    : ShowsModulation(rect, listener, tag), source_(source), position_(position) {
    vst::copyText(name_, sizeof(name_), name != nullptr ? name : "no name!");
    nameRect_ = {rect.left, rect.top, rect.left + nameWidth, rect.bottom};
    valueRect_ = {rect.left + nameWidth, rect.top, rect.right, rect.bottom};
    gui::TextStyle style;
    style.font = Skin::textFont();
    style.text = Skin::kLight;
    style.entryText = Skin::kDark;
    style.entryBackground = Skin::kLight;
    setStyle(style);
    refreshText();
}

void CModuleParam::valueToText(float value, ModuleText& text) {
    if (source_ != nullptr) {
        source_->valueText(position_, value, text);
    } else {
        formatText(text, "%.3f", value);
    }
}

float CModuleParam::textToValue(const char* text) {
    if (source_ != nullptr) return source_->textToValue(position_, text, getValue());
    float value = 0.0f;
    return parseNumber(text, value) ? value : getValue();
}

void CModuleParam::setValue(float value) {
    TextEdit::setValue(value);
    refreshText();
}

void CModuleParam::refreshText() {
    ModuleText text = "";
    valueToText(getValue(), text);
    setText(text);
}

void CModuleParam::setLocked(bool locked, const char* reason) {
    lockReason_ = reason != nullptr ? reason : "";
    if (locked == locked_) return;
    locked_ = locked;
    if (locked_ && isEntering()) cancelEntry();
    invalid();
}

std::string CModuleParam::tooltip(gui::Point /*where*/) const {
    return controlHelp(*this, getTag(), name_, getText(),
                       locked_ ? lockReason_ : gestures::kValueField);
}

bool CModuleParam::openEntry() {
    startEntry(getText());
    return true;
}

void CModuleParam::setEditing(bool editing) {
    if (source_ != nullptr) source_->setEditing(editing);
}

void CModuleParam::entryCommitted(const std::string& entry) {
    float value = textToValue(entry.c_str());
    changeValue(value);
    refreshText();
}

void CModuleParam::draw(gui::DrawContext& context) {
    if (modulation_.showsDrivers()) {
        const std::string text = "mod " + modulation_.shown().drivers;
        context.drawText(text.c_str(), getRect(), Align::kLeft, Skin::textFont(), Skin::kAccent);
        return;
    }
    if (nameRect_.width() > 0) {
        CTextPrinter::print(context, name_, nameRect_, Align::kLeft, CTextPrinter::Style::kDimmed);
    }
    const ModulationShown& shown = modulation_.shown();
    if (shown.driven && !isEntering()) {
        // A band from the base value to the left copy along the bottom, a marker for the right.
        auto xOf = [this](float value) {
            return valueRect_.left +
                   static_cast<int>(value * static_cast<float>(valueRect_.width()));
        };
        const int base = xOf(getValue());
        const int left = xOf(shown.left);
        context.setColor(Skin::kAccent.withAlpha(150));
        context.fillRect({std::min(base, left), valueRect_.bottom - 2, std::max(base, left) + 1,
                          valueRect_.bottom});
        if (shown.right != shown.left) {
            const int right = xOf(shown.right);
            context.setColor(Skin::kAccent);
            context.fillRect({right, valueRect_.bottom - 4, right + 1, valueRect_.bottom});
        }
    }
    if (isEntering()) {
        drawEntry(context);
        return;
    }
    if (drag_.isActive()) {
        context.setColor(Skin::kLight.withAlpha(28));
        context.fillRect(valueRect_);
    }
    if (locked_) {
        drawLocked(context);
        return;
    }
    CTextPrinter::print(context, getText().c_str(), valueRect_, Align::kRight);
}

void CModuleParam::drawLocked(gui::DrawContext& context) const {
    // A small padlock left of the greyed value.
    const int width = static_cast<int>(context.textWidth(getText().c_str(), Skin::textFont()));
    const int right = valueRect_.right - 2 - width - 4;
    const int middle = (valueRect_.top + valueRect_.bottom) / 2;
    context.setColor(Skin::kGreyText);
    context.fillRect({right - 5, middle - 1, right, middle + 3});
    context.setLineWidth(1.0);
    context.frameRect({right - 4, middle - 4, right - 1, middle});
    CTextPrinter::print(context, getText().c_str(), valueRect_, Align::kRight,
                        CTextPrinter::Style::kGreyed);
}

bool CModuleParam::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    if (isEntering() || locked_) return true;
    if (event.doubleClick) {
        startEntry(getText());
        return true;
    }
    if (event.hasControl()) {
        changeValue(getDefaultValue());
        refreshText();
        return true;
    }
    drag_.start(event.where.y, getValue(), event.modifiers);
    setEditing(true);
    beginEdit();
    invalid();
    return true;
}

float CModuleParam::draggedValue(const gui::MouseEvent& event) {
    int pixels = event.hasShift() ? kFineDragPixels : kDragPixels;
    return drag_.valueAt(event.where.y, event.modifiers, getValue(), pixels);
}

void CModuleParam::onMouseMoved(const gui::MouseEvent& event) {
    if (!drag_.isActive()) return;
    float value = draggedValue(event);
    if (value != getValue()) changeValue(value);
}

void CModuleParam::onMouseUp(const gui::MouseEvent& /*event*/) {
    if (!drag_.isActive()) return;
    drag_.stop();
    setEditing(false);
    endEdit();
    invalid();
}

bool CModuleParam::onWheel(const gui::MouseEvent& event, float steps) {
    if (isEntering() || locked_) return true;
    float step = event.hasShift() ? kFineWheelStep : kWheelStep;
    changeValue(getValue() + steps * step);
    return true;
}

}  // namespace kirra::editor
