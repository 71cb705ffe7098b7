#pragma once
// A signal path drawn as a small flow diagram: the input on the left, the output on the right,
// each operator that takes part as a numbered box in the column of its longest path from the
// input. Wires between operators run between neighbouring columns; an output or input that
// would cross another column runs along a lane above or below the boxes, so no wire passes
// through a box it does not belong to.

#include <vector>

#include "engine/ParameterIndex.h"
#include "gui/DrawContext.h"
#include "gui/Geometry.h"

namespace kirra::editor {

struct RoutingDiagram {
    static constexpr int kInput = -1;
    // The output follows the operators.
    static constexpr int kOutput = param::kSlotCount;

    struct Box {
        int op;  // 0..3
        gui::Rect rect;
    };
    // From the input (kInput) or an operator to an operator or the output (kOutput).
    struct Wire {
        int from;
        int to;
        std::vector<gui::Point> points;
    };

    std::vector<Box> boxes;
    std::vector<Wire> wires;
    int inputX = 0;
    int outputX = 0;

    // Lays out the connections that are open (value above 0) inside an area.
    static RoutingDiagram layout(const float values[param::kRoutingCount], const gui::Rect& area);
    void draw(gui::DrawContext& context, gui::Color wireColor, gui::Color boxColor,
              gui::Color textColor) const;
};

}  // namespace kirra::editor
