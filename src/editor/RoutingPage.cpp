#include "editor/RoutingPage.h"

#include <memory>

#include "editor/CCaption.h"
#include "editor/CDryDly.h"
#include "editor/CTextPrinter.h"
#include "engine/ParameterIndex.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kLabelWidth = 32;
constexpr int kCellWidth = 36;
constexpr int kRowHeight = 12;
constexpr int kGridTop = 18;  // under the caption
const char* const kSources[5] = {"IN", "OP1", "OP2", "OP3", "OP4"};
const char* const kDestinations[5] = {"OP1", "OP2", "OP3", "OP4", "OUT"};

// The routing gain from a source row (0 the input, 1..4 the operators) to a destination column
// (0..3 the operators, 4 the output), or -1 where there is none (input straight to output).
int routingIndex(int row, int column) {
    if (row == 0) return column < 4 ? param::kInToOp1 + column : -1;
    if (column < 4) return param::kOpToOp11 + 4 * (row - 1) + column;
    return param::kOpToOut1 + row - 1;
}

}  // namespace

RoutingPage::RoutingPage(const Rect& rect, gui::ControlListener* listener,
                         const ParameterReader& values, std::function<float()> sampleRate)
    : ViewContainer(rect) {
    addView(std::make_unique<CCaption>(Rect{rect.left + 2, rect.top, rect.right - 2, rect.top + 12},
                                       "OPERATOR CONFIGURATION"));
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            int index = routingIndex(row, column);
            if (index < 0) continue;
            auto cell = std::make_unique<CMatrixConn>(cellRect(row, column), listener, index);
            cell->setValue(values(index));
            addView(std::move(cell));
        }
    }
    int top = cellRect(5, 0).top + 6;
    auto dry = std::make_unique<CDryDly>(
        Rect{rect.left + kLabelWidth + 2, top, rect.left + kLabelWidth + 2 + 4 * kCellWidth,
             top + kRowHeight - 1},
        listener, param::kDryDelay, std::move(sampleRate));
    dry->setValue(values(param::kDryDelay));
    addView(std::move(dry));
}

Rect RoutingPage::cellRect(int row, int column) const {
    int left = getRect().left + 2 + kLabelWidth + column * kCellWidth;
    int top = getRect().top + kGridTop + kRowHeight * (row + 1);
    return {left, top, left + kCellWidth - 2, top + kRowHeight - 1};
}

void RoutingPage::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    for (int column = 0; column < 5; ++column) {
        Rect header = cellRect(-1, column);
        CTextPrinter::print(context, kDestinations[column], header, gui::Align::kRight,
                            CTextPrinter::Style::kDimmed, Skin::captionFont());
    }
    for (int row = 0; row < 5; ++row) {
        Rect cell = cellRect(row, 0);
        Rect label{rect.left + 2, cell.top, rect.left + 2 + kLabelWidth, cell.bottom};
        CTextPrinter::print(context, kSources[row], label, gui::Align::kLeft,
                            CTextPrinter::Style::kDimmed, Skin::captionFont());
        // Faint stripes make the rows easy to follow.
        if (row % 2 == 0) {
            context.setColor(Skin::kLight.withAlpha(10));
            context.fillRect({rect.left + 2, cell.top, cellRect(row, 4).right, cell.bottom});
        }
    }
    int top = cellRect(5, 0).top + 6;
    CTextPrinter::print(context, "DRY",
                        {rect.left + 2, top, rect.left + 2 + kLabelWidth, top + kRowHeight - 1},
                        gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::captionFont());
}

}  // namespace kirra::editor
