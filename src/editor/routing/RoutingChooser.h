#pragma once
// The predefined routings as a modal grid of flow diagrams under the title "PREDEFINED
// ROUTINGS": a click on a diagram chooses that routing and closes the grid, a click outside
// closes it unchanged.

#include <functional>
#include <vector>

#include "editor/routing/RoutingDiagram.h"
#include "gui/View.h"

namespace kirra::editor {

class RoutingChooser : public gui::View {
  public:
    static constexpr int kColumns = 4;
    static constexpr int kTitleHeight = 14;

    // `current` is lit (-1 for none); `onChoice` gets the routing clicked, and is not called
    // when the grid closes unchanged.
    RoutingChooser(const gui::Rect& rect, int current, std::function<void(int)> onChoice);

    gui::Rect cellRect(int routing) const;
    // The routing under a point, or -1.
    int routingAt(gui::Point where) const;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    void onMouseMoved(const gui::MouseEvent& event) override;

  private:
    void close();

    int current_;
    std::function<void(int)> onChoice_;
    std::vector<RoutingDiagram> diagrams_;
    int hover_ = -1;
};

}  // namespace kirra::editor
