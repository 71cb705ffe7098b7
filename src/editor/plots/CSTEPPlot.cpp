#include "editor/plots/CSTEPPlot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "modules/ModuleText.h"

namespace kirra::editor {

namespace {

constexpr int kLetterHeight = 9;

float limited(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

CSTEPPlot::CSTEPPlot(const gui::Rect& rect, Listener* listener)
    : CModulePlot(rect), listener_(listener) {}

gui::Rect CSTEPPlot::rowArea(int row) const {
    const gui::Rect area = plotArea();
    const int middle = area.top + area.height() / 2;
    const int left = area.left + kModeStripWidth;
    return row == 0 ? gui::Rect{left, area.top, area.right, middle}
                    : gui::Rect{left, middle + 1, area.right, area.bottom};
}

gui::Rect CSTEPPlot::barSlot(int position) const {
    const int row = position < kSteps ? 0 : 1;
    const int step = position % kSteps;
    const gui::Rect area = rowArea(row);
    const int left = area.left + step * area.width() / kSteps;
    const int right = area.left + (step + 1) * area.width() / kSteps;
    return {left + 1, area.top + 1, right - 1, area.bottom};
}

int CSTEPPlot::rowOfValue(int row, float value) const {
    const gui::Rect slot = barSlot(row * kSteps);
    return slot.bottom - static_cast<int>(std::lround(limited(value) * slot.height()));
}

int CSTEPPlot::stepAt(int x) const {
    const gui::Rect area = rowArea(0);
    if (area.width() <= 0) return 0;
    return std::clamp((x - area.left) * kSteps / area.width(), 0, kSteps - 1);
}

int CSTEPPlot::rowAt(int y) const {
    return y <= rowArea(0).bottom ? 0 : 1;
}

float CSTEPPlot::valueAt(int row, int y) const {
    const gui::Rect slot = barSlot(row * kSteps);
    if (slot.height() <= 0) return 0.0f;
    return limited(static_cast<float>(slot.bottom - y) / static_cast<float>(slot.height()));
}

void CSTEPPlot::setStepValue(int position, float value) {
    if (position < 0 || position >= kPositions) return;
    value = limited(value);
    if (value == values_[position]) return;
    values_[position] = value;
    invalid();
}

void CSTEPPlot::setStepCount(int steps) {
    steps = std::clamp(steps, 1, kSteps);
    if (steps == stepCount_) return;
    stepCount_ = steps;
    invalid();
}

void CSTEPPlot::setCurrentStep(int step) {
    step = std::clamp(step, 0, kSteps - 1);
    if (step == currentStep_) return;
    currentStep_ = step;
    invalid();
}

void CSTEPPlot::setDepth(float depth) {
    depth = limited(depth);
    if (depth == depth_) return;
    depth_ = depth;
    invalid();
}

void CSTEPPlot::write(int step, int row, float value) {
    value = limited(value);
    for (int edited = 0; edited < 2; ++edited) {
        if (edited != row && !linked_) continue;
        const int position = edited * kSteps + step;
        if (value == values_[position]) continue;
        values_[position] = value;
        if (listener_ != nullptr) listener_->stepChanged(position, value);
    }
    invalid();
}

void CSTEPPlot::startEdit(int step, int row) {
    editing_ = step;
    editRow_ = row;
    for (int edited = 0; edited < 2; ++edited) {
        editedRow_[edited] = edited == row || linked_;
        if (editedRow_[edited] && listener_ != nullptr)
            listener_->stepEditStarted(edited * kSteps + step);
    }
}

void CSTEPPlot::moveEditTo(int step) {
    for (int edited = 0; edited < 2; ++edited) {
        if (!editedRow_[edited] || listener_ == nullptr) continue;
        listener_->stepEditEnded(edited * kSteps + editing_);
        listener_->stepEditStarted(edited * kSteps + step);
    }
    editing_ = step;
}

void CSTEPPlot::endEdit() {
    if (editing_ < 0) return;
    for (int edited = 0; edited < 2; ++edited) {
        if (editedRow_[edited] && listener_ != nullptr)
            listener_->stepEditEnded(edited * kSteps + editing_);
    }
    editing_ = -1;
    drawing_ = false;
    caption_.clear();
    invalid();
}

void CSTEPPlot::updateCaption(int step, int row) {
    ModuleText text = "";
    const float percent = 100.0f * values_[row * kSteps + step];
    if (linked_) {
        formatText(text, "STEP %d: VALUE = %.1f%%", step + 1, percent);
    } else {
        formatText(text, "STEP %d%c: VALUE = %.1f%%", step + 1, row == 0 ? 'L' : 'R', percent);
    }
    caption_ = text;
}

void CSTEPPlot::switchMode(int rowClicked) {
    linked_ = !linked_;
    if (linked_) {
        // The row clicked is kept and copied onto the other, step by step as the user's edits.
        const int target = 1 - rowClicked;
        for (int step = 0; step < kSteps; ++step) {
            const int position = target * kSteps + step;
            const float value = values_[rowClicked * kSteps + step];
            values_[position] = value;
            if (listener_ == nullptr) continue;
            listener_->stepEditStarted(position);
            listener_->stepChanged(position, value);
            listener_->stepEditEnded(position);
        }
    }
    invalid();
}

bool CSTEPPlot::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft() || editing_ >= 0) return event.isLeft();
    const int row = rowAt(event.where.y);
    if (event.where.x < rowArea(0).left && !event.hasControl()) {
        switchMode(row);
        return true;
    }
    const int step = stepAt(event.where.x);
    startEdit(step, row);
    if (event.hasControl()) {
        drawing_ = true;
        lastDrawnStep_ = step;
        write(step, row, valueAt(row, event.where.y));
    } else {
        anchorY_ = event.where.y;
        anchorValue_ = values_[row * kSteps + step];
        anchorModifiers_ = event.modifiers;
    }
    updateCaption(step, row);
    invalid();
    return true;
}

void CSTEPPlot::onMouseMoved(const gui::MouseEvent& event) {
    if (editing_ < 0) return;
    if (drawing_) {
        // Every bar from the last one drawn to the one under the pointer takes its height.
        const int step = stepAt(event.where.x);
        const float value = valueAt(editRow_, event.where.y);
        const int direction = step >= lastDrawnStep_ ? 1 : -1;
        for (int crossed = lastDrawnStep_;; crossed += direction) {
            if (crossed != editing_) moveEditTo(crossed);
            write(crossed, editRow_, value);
            if (crossed == step) break;
        }
        lastDrawnStep_ = step;
        updateCaption(step, editRow_);
        return;
    }
    // A change of the fine key starts over where the pointer is, so the value never jumps.
    if ((event.modifiers & gui::kShift) != (anchorModifiers_ & gui::kShift)) {
        anchorY_ = event.where.y;
        anchorValue_ = values_[editRow_ * kSteps + editing_];
        anchorModifiers_ = event.modifiers;
    }
    const int pixels = event.hasShift() ? kFineDragPixels : kDragPixels;
    const float value = anchorValue_ + static_cast<float>(anchorY_ - event.where.y) / pixels;
    write(editing_, editRow_, value);
    updateCaption(editing_, editRow_);
}

void CSTEPPlot::onMouseUp(const gui::MouseEvent& /*event*/) {
    endEdit();
}

void CSTEPPlot::draw(gui::DrawContext& context) {
    drawBackground(context);
    const gui::Rect area = plotArea();
    context.setColor(kCurve);
    context.drawLine(area.left, rowArea(0).bottom, area.right - 1, rowArea(0).bottom);

    // The mode strip: one block over both rows when linked, one per row when separate, each
    // with its label written downwards.
    const char* labels[2] = {linked_ ? "LINKED" : "LEFT", linked_ ? "" : "RIGHT"};
    const int stripRight = rowArea(0).left - 1;
    for (int block = 0; block < (linked_ ? 1 : 2); ++block) {
        const gui::Rect box{area.left, linked_ || block == 0 ? area.top : rowArea(1).top,
                            stripRight, linked_ || block == 1 ? area.bottom : rowArea(0).bottom};
        context.setColor(kCurve);
        context.fillRect(box);
        const int length = static_cast<int>(std::strlen(labels[block]));
        int top = (box.top + box.bottom) / 2 - length * kLetterHeight / 2;
        for (int letter = 0; letter < length; ++letter, top += kLetterHeight) {
            const char text[2] = {labels[block][letter], 0};
            context.drawText(text, {box.left, top, box.right, top + kLetterHeight},
                             gui::Align::kCenter, Skin::smallFont(), kBackground);
        }
    }

    for (int row = 0; row < 2; ++row) {
        const gui::Rect playing = barSlot(row * kSteps + currentStep_);
        context.setColor(kCurve.withAlpha(45));
        context.fillRect(
            {playing.left - 1, rowArea(row).top, playing.right + 1, rowArea(row).bottom});
        for (int step = 0; step < kSteps; ++step) {
            const int position = row * kSteps + step;
            const gui::Rect slot = barSlot(position);
            // A step's foot always shows, so that steps at 0 can be found; steps beyond the
            // sequence are pale.
            const gui::Rect bar{slot.left,
                                std::min(rowOfValue(row, values_[position]), slot.bottom - 1),
                                slot.right, slot.bottom};
            context.setColor(step < stepCount_ ? kCurve : kCurve.withAlpha(70));
            context.fillRect(bar);
        }
        if (depth_ < 1.0f) drawDashedHorizontal(context, rowOfValue(row, depth_));
    }

    if (!caption_.empty()) {
        const int width = static_cast<int>(context.textWidth(caption_.c_str(), Skin::smallFont()));
        const int centre = (area.left + area.right) / 2;
        const int middle = rowArea(0).bottom;
        const gui::Rect captionBox{centre - width / 2 - 3, middle - 5, centre + width / 2 + 3,
                                   middle + 6};
        context.setColor(kCurve);
        context.fillRect(captionBox);
        context.drawText(caption_.c_str(), captionBox, gui::Align::kCenter, Skin::smallFont(),
                         kBackground);
    }
}

}  // namespace kirra::editor
