#pragma once
// The connections view of the signal-path page: a table of routing gains from each source (rows:
// the input and the four operators) to each destination (columns: the four operators and the
// output), each operator's own block on the diagonal, the dry-path delay and the predefined
// routings.

#include <functional>

#include "editor/ParameterReader.h"
#include "engine/ParameterIndex.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class CMatrixConnOP;

class ConnectionsView : public gui::ViewContainer {
  public:
    ConnectionsView(const gui::Rect& rect, gui::ControlListener* listener,
                    const ParameterReader& values, std::function<float()> sampleRate,
                    const gui::Rect& chooserArea);

    CMatrixConnOP* operatorBlock(int op) const { return blocks_[op]; }
    // Row -1 holds the column titles.
    gui::Rect cellRect(int row, int column) const;
    void draw(gui::DrawContext& context) override;

  private:
    gui::Rect dryRect() const;
    // The predefined routing the fields show, or -1.
    int currentRouting() const;

    CMatrixConnOP* blocks_[param::kSlotCount] = {};
};

}  // namespace kirra::editor
