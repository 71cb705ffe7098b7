#include "editor/routing/RoutingChooser.h"

#include "editor/Skin.h"
#include "editor/routing/PredefinedRoutings.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Rect;

namespace {
constexpr int kRows =
    (kPredefinedRoutings + RoutingChooser::kColumns - 1) / RoutingChooser::kColumns;
constexpr int kCellPadding = 4;
}  // namespace

RoutingChooser::RoutingChooser(const Rect& rect, int current, std::function<void(int)> onChoice)
    : View(rect), current_(current), onChoice_(std::move(onChoice)) {
    // The diagrams never change, so they are laid out once.
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        float values[param::kRoutingCount];
        predefinedRoutingValues(routing, values);
        diagrams_.push_back(
            RoutingDiagram::layout(values, cellRect(routing).inset(kCellPadding, kCellPadding)));
    }
}

Rect RoutingChooser::cellRect(int routing) const {
    Rect grid = getRect().inset(2, 2);
    grid.top += kTitleHeight;
    int column = routing % kColumns;
    int row = routing / kColumns;
    int left = grid.left + column * grid.width() / kColumns;
    int right = grid.left + (column + 1) * grid.width() / kColumns;
    int top = grid.top + row * grid.height() / kRows;
    int bottom = grid.top + (row + 1) * grid.height() / kRows;
    return {left + 1, top + 1, right - 1, bottom - 1};
}

int RoutingChooser::routingAt(gui::Point where) const {
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        if (cellRect(routing).contains(where)) return routing;
    }
    return -1;
}

void RoutingChooser::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    context.setLineStyle(gui::LineStyle::kSolid);
    context.setLineWidth(1.0);
    context.setColor(Skin::kScreen);
    context.fillRect(rect);
    context.setColor(Skin::kLight.withAlpha(160));
    context.frameRect(rect);
    Rect title{rect.left + 2, rect.top + 2, rect.right - 2, rect.top + 2 + kTitleHeight - 2};
    context.drawText("PREDEFINED ROUTINGS", title, gui::Align::kCenter, Skin::captionFont(),
                     Skin::kLight);
    context.setColor(Skin::kLight.withAlpha(40));
    context.drawLine(title.left, title.bottom, title.right - 1, title.bottom);
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        Rect cell = cellRect(routing);
        bool hovered = routing == hover_;
        context.setColor(Skin::kLight.withAlpha(hovered ? 60 : 14));
        context.fillRoundRect(cell, 3.0);
        if (routing == current_) {
            context.setColor(Skin::kLight.withAlpha(150));
            context.frameRoundRect(cell, 3.0);
        }
        diagrams_[routing].draw(context, Skin::kLight.withAlpha(hovered ? 255 : 170), Skin::kLight,
                                Skin::kDark);
    }
}

bool RoutingChooser::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft() || !getRect().contains(event.where)) {
        close();
        return true;
    }
    int routing = routingAt(event.where);
    if (routing < 0) return true;
    // The callback runs after the grid has left the screen.
    auto onChoice = onChoice_;
    close();
    if (onChoice) onChoice(routing);
    return true;
}

void RoutingChooser::onMouseMoved(const gui::MouseEvent& event) {
    int hover = routingAt(event.where);
    if (hover == hover_) return;
    hover_ = hover;
    invalid();
}

void RoutingChooser::close() {
    if (gui::Frame* frame = getFrame(); frame != nullptr && frame->getModalView() == this) {
        frame->closeModal();
    }
}

}  // namespace kirra::editor
