#pragma once
// Main page 0, the signal path as a table: a routing gain from each source (the input and the
// four operators) to each destination (the four operators and the output), and the dry-path
// delay under it.

#include <functional>

#include "editor/ParameterReader.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class RoutingPage : public gui::ViewContainer {
  public:
    RoutingPage(const gui::Rect& rect, gui::ControlListener* listener,
                const ParameterReader& values, std::function<float()> sampleRate);
    void draw(gui::DrawContext& context) override;

  private:
    gui::Rect cellRect(int row, int column) const;
};

}  // namespace kirra::editor
