#include "editor/routing/ConnectionsView.h"

#include <memory>

#include "editor/CDryDly.h"
#include "editor/CTextPrinter.h"
#include "editor/KirraFrame.h"
#include "editor/routing/CMatrixCaption.h"
#include "editor/routing/CMatrixConnOP.h"
#include "editor/routing/PredefinedRoutings.h"
#include "engine/ParameterIndex.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kLabelWidth = 32;
constexpr int kCellWidth = 36;
constexpr int kRowHeight = 12;
using param::kSlotCount;
// The input and the operators feed the operators and the output.
constexpr int kSources = 1 + kSlotCount;
constexpr int kDestinations = kSlotCount + 1;
const char* const kSourceNames[kSources] = {"IN", "OP1", "OP2", "OP3", "OP4"};
const char* const kDestinationNames[kDestinations] = {"OP1", "OP2", "OP3", "OP4", "OUT"};

// The routing gain from a source row (0 the input, 1..4 the operators) to a destination column
// (0..3 the operators, 4 the output), or -1 where there is none (the input straight out).
int routingIndex(int row, int column) {
    if (row == 0) return column < kSlotCount ? param::kInToOp1 + column : -1;
    if (column < kSlotCount) return param::kOpToOp11 + kSlotCount * (row - 1) + column;
    return param::kOpToOut1 + row - 1;
}

}  // namespace

ConnectionsView::ConnectionsView(const Rect& rect, gui::ControlListener* listener,
                                 const ParameterReader& values, std::function<float()> sampleRate,
                                 const Rect& chooserArea)
    : ViewContainer(rect) {
    for (int row = 0; row < kSources; ++row) {
        for (int column = 0; column < kDestinations; ++column) {
            int index = routingIndex(row, column);
            if (index < 0) continue;
            std::unique_ptr<CMatrixConn> cell;
            if (row == column + 1) {
                auto block =
                    std::make_unique<CMatrixConnOP>(cellRect(row, column), listener, index, column);
                block->setBypassed(values(param::kOperatorBypass1 + column) >= 0.5f);
                blocks_[column] = block.get();
                cell = std::move(block);
            } else {
                cell = std::make_unique<CMatrixConn>(cellRect(row, column), listener, index);
            }
            cell->setValue(values(index));
            addView(std::move(cell));
        }
    }
    auto dry =
        std::make_unique<CDryDly>(dryRect(), listener, param::kDryDelay, std::move(sampleRate));
    dry->setValue(values(param::kDryDelay));
    addView(std::move(dry));
    Rect routings{rect.left + 2, dryRect().bottom + 5, rect.right - 2, dryRect().bottom + 17};
    addView(std::make_unique<CMatrixCaption>(routings, listener, tags::kPredefinedRouting,
                                             chooserArea, [this] { return currentRouting(); }));
}

int ConnectionsView::currentRouting() const {
    float values[param::kRoutingCount];
    for (int gain = 0; gain < param::kRoutingCount; ++gain) {
        gui::Control* control = findControl(param::kRoutingFirst + gain);
        values[gain] = control != nullptr ? control->getValue() : 0.0f;
    }
    return matchingPredefinedRouting(values);
}

Rect ConnectionsView::cellRect(int row, int column) const {
    int left = getRect().left + 2 + kLabelWidth + column * kCellWidth;
    int top = getRect().top + kRowHeight * (row + 1);
    return {left, top, left + kCellWidth - 2, top + kRowHeight - 1};
}

Rect ConnectionsView::dryRect() const {
    Rect first = cellRect(kSources, 0);
    return {first.left, first.top + 4, cellRect(kSources, 3).right, first.bottom + 4};
}

void ConnectionsView::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    for (int column = 0; column < kDestinations; ++column) {
        CTextPrinter::print(context, kDestinationNames[column], cellRect(-1, column),
                            gui::Align::kRight, CTextPrinter::Style::kDimmed, Skin::captionFont());
    }
    for (int row = 0; row < kSources; ++row) {
        Rect cell = cellRect(row, 0);
        Rect label{rect.left + 2, cell.top, rect.left + 2 + kLabelWidth, cell.bottom};
        CTextPrinter::print(context, kSourceNames[row], label, gui::Align::kLeft,
                            CTextPrinter::Style::kDimmed, Skin::captionFont());
        // Faint stripes make the rows easy to follow.
        if (row % 2 == 0) {
            context.setColor(Skin::kLight.withAlpha(10));
            context.fillRect({rect.left + 2, cell.top, cellRect(row, 4).right, cell.bottom});
        }
    }
    Rect dry = dryRect();
    CTextPrinter::print(context, "DRY",
                        {rect.left + 2, dry.top, rect.left + 2 + kLabelWidth, dry.bottom},
                        gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::captionFont());
}

}  // namespace kirra::editor
