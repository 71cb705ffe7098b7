#include "editor/CMyKnob.h"

#include <cmath>

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
    : ShowsModulation({x - kTextOverhang, layout::kKnobTop, x + layout::kKnobSize + kTextOverhang,
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
    drawModulation(context);
    if (modulation_.showsDrivers()) {
        context.drawText(modulation_.shown().drivers.c_str(), textRect(), Align::kCenter,
                         Skin::textFont(), Skin::kAccent);
        return;
    }
    ModuleText text = "";
    knobText(text);
    CTextPrinter::print(context, text, textRect(), Align::kCenter,
                        isDragging() ? CTextPrinter::Style::kNormal : CTextPrinter::Style::kDimmed);
}

void CMyKnob::drawModulation(gui::DrawContext& context) {
    const ModulationShown& shown = modulation_.shown();
    if (!shown.driven) return;
    // The knob's travel: from 135 degrees (lower left) clockwise through the top to 405.
    constexpr double kStart = 0.75 * 3.14159265358979;
    constexpr double kTravel = 1.5 * 3.14159265358979;
    constexpr int kPoints = 48;
    const gui::Rect box = knobRect();
    const double centreX = 0.5 * (box.left + box.right);
    const double centreY = 0.5 * (box.top + box.bottom);
    auto arc = [&](float from, float to, double radius, double width) {
        float xs[kPoints + 1];
        float ys[kPoints + 1];
        for (int k = 0; k <= kPoints; ++k) {
            const double value = from + (to - from) * k / static_cast<double>(kPoints);
            const double angle = kStart + kTravel * value;
            xs[k] = static_cast<float>(centreX + radius * std::cos(angle));
            ys[k] = static_cast<float>(centreY + radius * std::sin(angle));
        }
        context.setLineWidth(width);
        context.drawPolyline(xs, ys, kPoints + 1);
    };
    const double radius = 0.5 * box.width() - 1.0;
    context.setColor(Skin::kAccent);
    arc(getValue(), shown.left, radius, 2.0);
    if (shown.right != shown.left) arc(getValue(), shown.right, radius - 3.0, 1.0);
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
