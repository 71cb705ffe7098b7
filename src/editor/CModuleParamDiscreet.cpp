#include "editor/CModuleParamDiscreet.h"

#include "editor/CTextPrinter.h"
#include "editor/ControlHelp.h"
#include "modules/ModuleMath.h"
#include "vst/AudioEffect.h"

namespace kirra::editor {

using gui::Align;

CModuleParamDiscreet::CModuleParamDiscreet(const gui::Rect& rect, gui::ControlListener* listener,
                                           int tag, const char* name, ValueTextSource* source,
                                           int position, int states, int available, int nameWidth)
    : Control(rect, listener, tag),
      source_(source),
      position_(position),
      states_(states > 0 ? states : 1),
      available_(available > 0 && available <= states_ ? available : states_),
      nameWidth_(nameWidth) {
    vst::copyText(name_, sizeof(name_), name != nullptr ? name : "no name!");
}

int CModuleParamDiscreet::getChoice() const {
    return valueToIndex(getValue(), states_);
}

void CModuleParamDiscreet::select(int choice) {
    changeValue(indexToValue(choice, states_));
}

std::string CModuleParamDiscreet::choiceText() const {
    ModuleText text = "";
    if (source_ != nullptr) source_->valueText(position_, getValue(), text);
    return text;
}

std::string CModuleParamDiscreet::tooltip(gui::Point /*where*/) const {
    return controlHelp(*this, getTag(), name_, choiceText(), gestures::kChoice);
}

void CModuleParamDiscreet::stepBy(int steps, bool /*fine*/) {
    int choice = getChoice() + steps;
    select(choice < 0 ? 0 : (choice >= available_ ? available_ - 1 : choice));
}

void CModuleParamDiscreet::stepToEnd(bool highest) {
    select(highest ? available_ - 1 : 0);
}

void CModuleParamDiscreet::draw(gui::DrawContext& context) {
    const gui::Rect& rect = getRect();
    gui::Rect nameRect{rect.left, rect.top, rect.left + nameWidth_, rect.bottom};
    gui::Rect valueRect{rect.left + nameWidth_, rect.top, rect.right, rect.bottom};
    if (nameWidth_ > 0) {
        CTextPrinter::print(context, name_, nameRect, Align::kLeft, CTextPrinter::Style::kDimmed);
    }
    CTextPrinter::print(context, choiceText().c_str(), valueRect, Align::kRight);
}

bool CModuleParamDiscreet::onMouseDown(const gui::MouseEvent& event) {
    int choice = getChoice();
    if (event.isLeft()) {
        int next = choice + 1;
        select(next >= available_ ? 0 : next);
        return true;
    }
    if (event.isRight()) {
        int previous = choice - 1;
        select(previous < 0 || previous >= available_ ? available_ - 1 : previous);
        return true;
    }
    return false;
}

bool CModuleParamDiscreet::onWheel(const gui::MouseEvent& event, float steps) {
    gui::MouseEvent click = event;
    click.buttons = steps > 0 ? gui::kLeftButton : gui::kRightButton;
    return onMouseDown(click);
}

}  // namespace kirra::editor
