#include "editor/CMyNameKnob.h"

#include "editor/ControlHelp.h"
#include "engine/ParameterDescription.h"

namespace kirra::editor {

CMyNameKnob::CMyNameKnob(int x, gui::ControlListener* listener, int tag, gui::FilmStrip strip,
                         KnobListener* knobListener, int knobNumber)
    : CMyKnob(x, listener, tag, strip, knobListener), knobNumber_(knobNumber) {}

void CMyNameKnob::setName(const std::string& name) {
    std::string cut = name.substr(0, kNameLength);
    if (cut == name_) return;
    name_ = cut;
    invalid();
}

void CMyNameKnob::setUsed(bool used) {
    if (used == used_) return;
    used_ = used;
    invalid();
}

void CMyNameKnob::knobText(ModuleText& text) const {
    if (hovered_ || isDragging()) {
        if (used_) {
            parameterEditorText(getTag(), getValue(), ParameterContext(), text);
        } else {
            setText(text, "UNUSED");
        }
    } else if (name_.empty()) {
        formatText(text, "KNOB%d", knobNumber_);
    } else {
        setText(text, name_.c_str());
    }
}

std::string CMyNameKnob::fullName() const {
    std::string number = "KNOB" + std::to_string(knobNumber_);
    return name_.empty() ? number : number + " " + name_;
}

std::string CMyNameKnob::tooltip(gui::Point /*where*/) const {
    if (!used_) return fullName() + ": unused\nno modulation slot reads this knob";
    ModuleText text = "";
    parameterEditorText(getTag(), getValue(), ParameterContext(), text);
    return fullName() + ": " + text + "\n" + gestures::kNamedKnob;
}

bool CMyNameKnob::openEntry() {
    startEntry(name_.empty() ? "KNOB" + std::to_string(knobNumber_) : name_, kNameLength);
    return true;
}

bool CMyNameKnob::onMouseDown(const gui::MouseEvent& event) {
    if (!used_) return false;
    if (isEntering()) return true;
    if (event.isLeft() && event.doubleClick) return openEntry();
    if (event.isLeft() && event.hasControl()) {
        changeValue(getValue() == 0.0f ? 0.5f : 0.0f);
        return true;
    }
    return CMyKnob::onMouseDown(event);
}

bool CMyNameKnob::onWheel(const gui::MouseEvent& event, float steps) {
    return used_ && CMyKnob::onWheel(event, steps);
}

void CMyNameKnob::onMouseEnter() {
    CMyKnob::onMouseEnter();
    hovered_ = true;
    invalid();
}

void CMyNameKnob::onMouseExit() {
    CMyKnob::onMouseExit();
    hovered_ = false;
    invalid();
}

void CMyNameKnob::entryCommitted(const std::string& entry) {
    setName(entry);
    if (knobListener_ != nullptr) knobListener_->knobRenamed(getTag(), name_);
}

}  // namespace kirra::editor
