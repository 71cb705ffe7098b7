#include "editor/CMyKnob.h"

#include "editor/CTextPrinter.h"
#include "editor/ControlHelp.h"
#include "editor/EditorLayout.h"
#include "engine/ParameterDescription.h"
#include "engine/ParameterIndex.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Align;

namespace {
// The text under a knob may be wider than the knob itself.
constexpr int kTextOverhang = 7;
}  // namespace

CMyKnob::CMyKnob(int x, gui::ControlListener* listener, int tag, gui::FilmStrip strip,
                 KnobListener* knobListener)
    : Knob({x - kTextOverhang, layout::kKnobTop, x + layout::kKnobSize + kTextOverhang,
            layout::kKnobTextTop + layout::kKnobTextHeight},
           listener, tag, strip),
      knobListener_(knobListener) {}

gui::Rect CMyKnob::knobRect() const {
    const gui::Rect& rect = getRect();
    int x = rect.left + kTextOverhang;
    return {x, layout::kKnobTop, x + layout::kKnobSize, layout::kKnobTop + layout::kKnobSize};
}

gui::Rect CMyKnob::textRect() const {
    const gui::Rect& rect = getRect();
    return {rect.left, layout::kKnobTextTop, rect.right,
            layout::kKnobTextTop + layout::kKnobTextHeight};
}

void CMyKnob::setBlinkDimmed(bool dimmed) {
    if (dimmed == blinkDimmed_) return;
    blinkDimmed_ = dimmed;
    invalid();
}

void CMyKnob::knobText(ModuleText& text) const {
    parameterEditorText(getTag(), getValue(), ParameterContext(), text);
}

void CMyKnob::draw(gui::DrawContext& context) {
    if (blinkDimmed_) {
        context.save();
        context.clip(knobRect());
        strip_.draw(context, knobRect(), currentFrame());
        context.setColor(Skin::kDark.withAlpha(170));
        context.fillRect(knobRect());
        context.restore();
    } else {
        strip_.draw(context, knobRect(), currentFrame());
    }
    if (entry_.isActive()) {
        entry_.draw(context, textRect().inset(1, 0), Skin::textFont(), Skin::kDark, Skin::kLight);
        return;
    }
    ModuleText text = "";
    knobText(text);
    CTextPrinter::print(context, text, textRect(), Align::kCenter,
                        isDragging() ? CTextPrinter::Style::kNormal : CTextPrinter::Style::kDimmed);
}

bool CMyKnob::onMouseDown(const gui::MouseEvent& event) {
    if (entry_.isActive()) return true;
    if (event.isRight()) {
        if (knobListener_ != nullptr) knobListener_->learnRequested(getTag());
        return true;
    }
    if (event.isLeft() && event.doubleClick) return openEntry();
    return Knob::onMouseDown(event);
}

void CMyKnob::startEntry(const std::string& initial, int maxLength) {
    entry_.start(initial, maxLength);
    if (gui::Frame* frame = getFrame()) frame->setFocusView(this);
    invalid();
}

void CMyKnob::endEntry(bool commit) {
    std::string entry = entry_.text();
    entry_.stop();
    if (gui::Frame* frame = getFrame(); frame != nullptr && frame->getFocusView() == this) {
        frame->setFocusView(nullptr);
    }
    invalid();
    if (commit) entryCommitted(entry);
}

void CMyKnob::entryCommitted(const std::string& entry) {
    changeValue(parameterFromText(getTag(), entry.c_str(), getValue(), ParameterContext()));
}

std::string CMyKnob::tooltip(gui::Point /*where*/) const {
    ModuleText text = "";
    parameterEditorText(getTag(), getValue(), ParameterContext(), text);
    return controlHelp(*this, getTag(), "", text, gestures::kMainKnob);
}

bool CMyKnob::openEntry() {
    ModuleText text = "";
    knobText(text);
    startEntry(text, 16);
    return true;
}

bool CMyKnob::onKeyDown(const gui::KeyEvent& event) {
    if (!entry_.isActive()) return Knob::onKeyDown(event);
    gui::LineEditor::Result result = entry_.handleKey(event);
    if (result == gui::LineEditor::Result::kCommit) {
        endEntry(true);
    } else if (result == gui::LineEditor::Result::kCancel) {
        endEntry(false);
    } else {
        invalid();
    }
    return true;
}

void CMyKnob::onFocusLost() {
    if (entry_.isActive()) endEntry(true);
}

}  // namespace kirra::editor
