#include "editor/routing/ConfigurationView.h"

#include <memory>

#include "editor/CTextPrinter.h"
#include "editor/routing/CMatrixSwitch.h"
#include "engine/ParameterIndex.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kLabelWidth = 32;
constexpr int kCellWidth = 60;
constexpr int kRowHeight = 12;
constexpr int kOutputBits = 4;  // outputs are decoded by bits 4..7 of "OP_LR_MS"
const char* const kColumnTitles[ConfigurationView::kSwitchColumns] = {"INPUT", "OUTPUT", "PHASE"};
const char* const kHelp[] = {
    "L/R>M/S  the operator works on mid/side",
    "M/S>L/R  its output returns to left/right",
    "INVERT   its output changes polarity",
};

}  // namespace

ConfigurationView::ConfigurationView(const Rect& rect, gui::ControlListener* listener,
                                     const ParameterReader& values)
    : ViewContainer(rect) {
    const float coding = values(param::kOpLrMs);
    const float inversion = values(param::kOpInv);
    for (int op = 0; op < param::kSlotCount; ++op) {
        auto input = std::make_unique<CMatrixMS>(cellRect(op, 0), listener, param::kOpLrMs, op);
        auto output = std::make_unique<CMatrixMS>(cellRect(op, 1), listener, param::kOpLrMs,
                                                  kOutputBits + op);
        auto invert = std::make_unique<CMatrixInv>(cellRect(op, 2), listener, param::kOpInv, op);
        input->setValue(coding);
        output->setValue(coding);
        invert->setValue(inversion);
        switches_[op][0] = addView(std::move(input));
        switches_[op][1] = addView(std::move(output));
        switches_[op][2] = addView(std::move(invert));
    }
}

void ConfigurationView::maskChanged(int index, float value) {
    for (auto& row : switches_) {
        for (CMatrixSwitch* control : row) {
            if (control->getTag() == index) control->setValue(value);
        }
    }
}

Rect ConfigurationView::cellRect(int row, int column) const {
    int left = getRect().left + 2 + kLabelWidth + column * kCellWidth;
    int top = getRect().top + kRowHeight * (row + 1);
    return {left, top, left + kCellWidth - 4, top + kRowHeight - 2};
}

void ConfigurationView::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    for (int column = 0; column < kSwitchColumns; ++column) {
        CTextPrinter::print(context, kColumnTitles[column], cellRect(-1, column),
                            gui::Align::kCenter, CTextPrinter::Style::kDimmed, Skin::captionFont());
    }
    for (int op = 0; op < param::kSlotCount; ++op) {
        Rect cell = cellRect(op, 0);
        char label[8] = {'O', 'P', static_cast<char>('1' + op), 0};
        CTextPrinter::print(context, label,
                            {rect.left + 2, cell.top, rect.left + 2 + kLabelWidth, cell.bottom},
                            gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::captionFont());
    }
    int top = cellRect(param::kSlotCount, 0).top + 6;
    for (const char* line : kHelp) {
        CTextPrinter::print(context, line, {rect.left + 2, top, rect.right - 2, top + 10},
                            gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::smallFont());
        top += 10;
    }
}

}  // namespace kirra::editor
