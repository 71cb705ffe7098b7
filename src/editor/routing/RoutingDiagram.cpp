#include "editor/routing/RoutingDiagram.h"

#include <algorithm>
#include <string>

#include "engine/RoutingMatrix.h"

namespace kirra::editor {

using gui::Point;
using gui::Rect;

namespace {

constexpr int kOperators = RoutingMatrix::kOperators;
constexpr int kBoxWidth = 14;
constexpr int kBoxHeight = 10;
// Lanes run this far inside the area's top and bottom; boxes keep clear of a lane in use.
constexpr int kLaneInset = 1;
constexpr int kLaneSpace = 6;
// How far beside a box a wire turns towards a lane.
constexpr int kTurn = 4;
constexpr int kInputs = RoutingMatrix::kInToOp;
constexpr int kLinks = RoutingMatrix::kOpToOp;
constexpr int kOutputs = RoutingMatrix::kOpToOut;

struct Connections {
    bool input[kOperators] = {};
    bool link[kOperators][kOperators] =
        {};  // [from][to], loops of an operator onto itself left out
    bool output[kOperators] = {};
    bool used[kOperators] = {};

    explicit Connections(const float* values) {
        for (int op = 0; op < kOperators; ++op) {
            input[op] = values[kInputs + op] > 0.0f;
            output[op] = values[kOutputs + op] > 0.0f;
            used[op] = used[op] || input[op] || output[op];
            for (int to = 0; to < kOperators; ++to) {
                link[op][to] = to != op && values[kLinks + kOperators * op + to] > 0.0f;
                if (link[op][to]) used[op] = used[to] = true;
            }
        }
    }
};

// Columns by the longest path from the input; in a loop the rounds run out and leave it there.
void assignColumns(const Connections& connections, int column[kOperators], int& columns) {
    int level[kOperators] = {};
    for (int round = 0; round < kOperators; ++round) {
        for (int from = 0; from < kOperators; ++from) {
            for (int to = 0; to < kOperators; ++to) {
                if (connections.link[from][to])
                    level[to] = std::min(std::max(level[to], level[from] + 1), kOperators - 1);
            }
        }
    }
    // Levels nobody sits on (left by loops) close up.
    columns = 0;
    for (int candidate = 0; candidate < kOperators; ++candidate) {
        bool occupied = false;
        for (int op = 0; op < kOperators; ++op) {
            if (!connections.used[op] || level[op] != candidate) continue;
            column[op] = columns;
            occupied = true;
        }
        if (occupied) ++columns;
    }
}

int centreY(const Rect& box) {
    return box.top + box.height() / 2;
}

}  // namespace

RoutingDiagram RoutingDiagram::layout(const float values[param::kRoutingCount], const Rect& area) {
    RoutingDiagram diagram;
    Connections connections(values);
    int column[kOperators] = {};
    int columns = 0;
    assignColumns(connections, column, columns);
    diagram.inputX = area.left + 1;
    diagram.outputX = area.right - 2;
    const int lastColumn = columns - 1;
    // An output before the last column runs along the top lane; an input after the first
    // column, or a link that does not go one column on, along the bottom lane.
    bool topLane = false;
    bool bottomLane = false;
    for (int op = 0; op < kOperators; ++op) {
        topLane = topLane || (connections.output[op] && column[op] != lastColumn);
        bottomLane = bottomLane || (connections.input[op] && column[op] != 0);
        for (int to = 0; to < kOperators; ++to)
            bottomLane = bottomLane || (connections.link[op][to] && column[to] != column[op] + 1);
    }
    const int laneTop = area.top + kLaneInset;
    const int laneBottom = area.bottom - 1 - kLaneInset;
    const int boxesTop = area.top + (topLane ? kLaneSpace : 0);
    const int boxesHeight = area.bottom - (bottomLane ? kLaneSpace : 0) - boxesTop;

    Rect boxOf[kOperators] = {};
    for (int c = 0; c < columns; ++c) {
        int centreX = diagram.inputX + (c + 1) * (diagram.outputX - diagram.inputX) / (columns + 1);
        int inColumn = 0;
        for (int op = 0; op < kOperators; ++op)
            inColumn += connections.used[op] && column[op] == c;
        int row = 0;
        for (int op = 0; op < kOperators; ++op) {
            if (!connections.used[op] || column[op] != c) continue;
            int centre = boxesTop + (row + 1) * boxesHeight / (inColumn + 1);
            ++row;
            Rect box{centreX - kBoxWidth / 2, centre - kBoxHeight / 2, 0, 0};
            box.right = box.left + kBoxWidth;
            box.bottom = box.top + kBoxHeight;
            boxOf[op] = box;
            diagram.boxes.push_back({op, box});
        }
    }

    for (int op = 0; op < kOperators; ++op) {
        if (!connections.input[op]) continue;
        const Rect& box = boxOf[op];
        Point end{box.left - 1, centreY(box)};
        if (column[op] == 0) {
            diagram.wires.push_back({kInput, op, {{diagram.inputX, end.y}, end}});
        } else {
            int turn = box.left - kTurn;
            diagram.wires.push_back(
                {kInput,
                 op,
                 {{diagram.inputX, laneBottom}, {turn, laneBottom}, {turn, end.y}, end}});
        }
    }
    for (int from = 0; from < kOperators; ++from) {
        for (int to = 0; to < kOperators; ++to) {
            if (!connections.link[from][to]) continue;
            const Rect& source = boxOf[from];
            const Rect& target = boxOf[to];
            Point start{source.right, centreY(source)};
            Point end{target.left - 1, centreY(target)};
            if (column[to] == column[from] + 1) {
                diagram.wires.push_back({from, to, {start, end}});
            } else {
                // Backwards or across columns: out below the boxes and back in.
                int out = source.right + kTurn;
                int in = target.left - kTurn;
                diagram.wires.push_back({from,
                                         to,
                                         {start,
                                          {out, start.y},
                                          {out, laneBottom},
                                          {in, laneBottom},
                                          {in, end.y},
                                          end}});
            }
        }
    }
    for (int op = 0; op < kOperators; ++op) {
        if (!connections.output[op]) continue;
        const Rect& box = boxOf[op];
        Point start{box.right, centreY(box)};
        if (column[op] == lastColumn) {
            diagram.wires.push_back({op, kOutput, {start, {diagram.outputX, start.y}}});
        } else {
            int turn = box.right + kTurn;
            diagram.wires.push_back(
                {op,
                 kOutput,
                 {start, {turn, start.y}, {turn, laneTop}, {diagram.outputX, laneTop}}});
        }
    }
    return diagram;
}

void RoutingDiagram::draw(gui::DrawContext& context, gui::Color wireColor, gui::Color boxColor,
                          gui::Color textColor) const {
    context.setColor(wireColor);
    context.setLineWidth(1.0);
    context.setLineStyle(gui::LineStyle::kSolid);
    // The input and output bars reach every wire that starts or ends on them.
    int inputTop = 1 << 20, inputBottom = -1, outputTop = 1 << 20, outputBottom = -1;
    for (const Wire& wire : wires) {
        float xs[8];
        float ys[8];
        int count = 0;
        for (const Point& point : wire.points) {
            if (count == 8) break;
            xs[count] = point.x + 0.5f;
            ys[count] = point.y + 0.5f;
            ++count;
        }
        context.drawPolyline(xs, ys, count);
        if (wire.from == kInput) {
            inputTop = std::min(inputTop, wire.points.front().y);
            inputBottom = std::max(inputBottom, wire.points.front().y);
        }
        if (wire.to == kOutput) {
            outputTop = std::min(outputTop, wire.points.back().y);
            outputBottom = std::max(outputBottom, wire.points.back().y);
        }
    }
    context.setLineWidth(2.0);
    if (inputBottom >= 0) context.drawLine(inputX, inputTop - 1, inputX, inputBottom + 2);
    if (outputBottom >= 0)
        context.drawLine(outputX + 1, outputTop - 1, outputX + 1, outputBottom + 2);
    context.setLineWidth(1.0);
    const gui::Font digits{8.0, true};
    for (const Box& box : boxes) {
        context.setColor(boxColor);
        context.fillRect(box.rect);
        std::string label = std::to_string(box.op + 1);
        context.drawText(label.c_str(), box.rect, gui::Align::kCenter, digits, textColor);
    }
}

}  // namespace kirra::editor
