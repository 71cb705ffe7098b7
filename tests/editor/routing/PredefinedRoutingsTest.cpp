// The predefined routings: what each opens, and their flow diagrams: boxes apart, wires from box
// to box and none through a box, so that every drawn line means the connection it stands for.
// (What the engine makes of routing gains is the signal-path tests' business, and that choosing a
// routing writes these gains is followed on the signal-path page.)

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/RoutingChooser.h"
#include "editor/routing/RoutingDiagram.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ParameterIndex.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using kirra::gui::Point;
using kirra::gui::Rect;

constexpr int kLinks = param::kOpToOp11 - param::kRoutingFirst;
constexpr int kOutputs = param::kOpToOut1 - param::kRoutingFirst;

// The routing as a graph: node 0 is the input, 1 to 4 the operators, 5 the output.
struct Graph {
    bool link[6][6] = {};
    bool reaches(int from, int to, int steps = 5) const {
        if (from == to) return true;
        for (int next = 0; next < 6 && steps > 0; ++next) {
            if (link[from][next] && reaches(next, to, steps - 1)) return true;
        }
        return false;
    }
};

Graph graphOf(const float* values) {
    Graph graph;
    for (int op = 0; op < 4; ++op) {
        graph.link[0][op + 1] = values[op] == 1.0f;
        graph.link[op + 1][5] = values[kOutputs + op] == 1.0f;
        for (int to = 0; to < 4; ++to)
            graph.link[op + 1][to + 1] = values[kLinks + 4 * op + to] == 1.0f;
    }
    return graph;
}

// Each predefined routing opens some connections fully and closes the rest, differs from the
// others, and is a signal flow: all four operators between the input and the output, no loop.
TEST(PredefinedRoutings, EachIsALoopFreeFlowThroughAllFourOperators) {
    std::set<std::vector<float>> seen;
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        SCOPED_TRACE(routing);
        std::vector<float> values(param::kRoutingCount, 0.5f);
        ASSERT_TRUE(predefinedRoutingValues(routing, values.data()));
        for (float value : values)
            EXPECT_TRUE(value == 0.0f || value == 1.0f);
        EXPECT_TRUE(seen.insert(values).second);
        const Graph graph = graphOf(values.data());
        for (int op = 1; op <= 4; ++op) {
            EXPECT_TRUE(graph.reaches(0, op) && graph.reaches(op, 5)) << "OP" << op;
            for (int next = 1; next <= 4; ++next) {
                EXPECT_FALSE(graph.link[op][next] && graph.reaches(next, op)) << op << ">" << next;
            }
        }
    }
    float untouched[param::kRoutingCount] = {0.3f};
    EXPECT_FALSE(predefinedRoutingValues(-1, untouched));
    EXPECT_FALSE(predefinedRoutingValues(kPredefinedRoutings, untouched));
    EXPECT_FLOAT_EQ(untouched[0], 0.3f);
}

// Does the segment a-b pass through the inside of the box? Sampled every quarter pixel.
bool crosses(Point a, Point b, const Rect& box) {
    int steps = 4 * std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + 1;
    for (int step = 0; step <= steps; ++step) {
        float t = static_cast<float>(step) / steps;
        float x = a.x + t * (b.x - a.x);
        float y = a.y + t * (b.y - a.y);
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return true;
    }
    return false;
}

const RoutingDiagram::Box* boxOf(const RoutingDiagram& diagram, int op) {
    for (const auto& box : diagram.boxes) {
        if (box.op == op) return &box;
    }
    return nullptr;
}

void expectReadable(const RoutingDiagram& diagram, const Rect& area, int wires) {
    EXPECT_EQ(static_cast<int>(diagram.wires.size()), wires);
    for (size_t i = 0; i < diagram.boxes.size(); ++i) {
        const Rect& box = diagram.boxes[i].rect;
        EXPECT_TRUE(box.left >= area.left && box.right <= area.right && box.top >= area.top &&
                    box.bottom <= area.bottom);
        for (size_t j = i + 1; j < diagram.boxes.size(); ++j)
            EXPECT_FALSE(box.intersects(diagram.boxes[j].rect)) << "boxes " << i << ", " << j;
    }
    for (const auto& wire : diagram.wires) {
        if (wire.from != RoutingDiagram::kInput) {
            EXPECT_EQ(wire.points.front().x, boxOf(diagram, wire.from)->rect.right);
        } else {
            EXPECT_EQ(wire.points.front().x, diagram.inputX);
        }
        if (wire.to != RoutingDiagram::kOutput) {
            EXPECT_EQ(wire.points.back().x, boxOf(diagram, wire.to)->rect.left - 1);
        } else {
            EXPECT_EQ(wire.points.back().x, diagram.outputX);
        }
        for (size_t p = 1; p < wire.points.size(); ++p) {
            for (const auto& box : diagram.boxes) {
                EXPECT_FALSE(crosses(wire.points[p - 1], wire.points[p], box.rect))
                    << "wire " << wire.from << ">" << wire.to << " through OP" << box.op + 1;
            }
        }
    }
}

TEST(RoutingDiagram, EveryPredefinedRoutingDrawsEachConnectionClearOfTheBoxes) {
    RoutingChooser chooser(SignalPathPage::kChooserArea, -1, nullptr);
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        SCOPED_TRACE(routing);
        float values[param::kRoutingCount];
        predefinedRoutingValues(routing, values);
        int open = static_cast<int>(std::count(values, values + param::kRoutingCount, 1.0f));
        Rect area = chooser.cellRect(routing).inset(4, 4);
        RoutingDiagram diagram = RoutingDiagram::layout(values, area);
        EXPECT_EQ(diagram.boxes.size(), 4u);
        expectReadable(diagram, area, open);
        // Each link goes one column on, to the right.
        for (const auto& wire : diagram.wires) {
            if (wire.from >= 0 && wire.to < RoutingDiagram::kOutput) {
                EXPECT_LT(boxOf(diagram, wire.from)->rect.right,
                          boxOf(diagram, wire.to)->rect.left);
            }
        }
    }
}

TEST(RoutingDiagram, LoopsAndSkippedColumnsStillDrawClearOfTheBoxes) {
    float values[param::kRoutingCount] = {};
    auto link = [&values](int from, int to) { values[4 + 4 * from + to] = 1.0f; };
    values[0] = 1.0f;  // IN > 1
    link(0, 1);
    link(1, 2);
    link(0, 2);             // skips a column
    link(2, 0);             // back to the start
    link(3, 3);             // an operator onto itself is no wire
    values[20 + 2] = 1.0f;  // 3 > OUT
    values[1] = 1.0f;       // IN > 2, a column on
    Rect area{0, 0, 110, 70};
    RoutingDiagram diagram = RoutingDiagram::layout(values, area);
    EXPECT_EQ(diagram.boxes.size(), 3u);  // OP4 takes no part
    expectReadable(diagram, area, 7);
}

}  // namespace
