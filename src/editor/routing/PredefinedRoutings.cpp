#include "editor/routing/PredefinedRoutings.h"

#include "engine/Plugin.h"
#include "engine/RoutingMatrix.h"

namespace kirra::editor {

namespace {

// Connections written as digits: inputs "12" feeds OP1 and OP2, links "13 24" are OP1->OP3 and
// OP2->OP4, outputs "34" sends OP3 and OP4 out.
struct Routing {
    const char* inputs;
    const char* links;
    const char* outputs;
};

const Routing kRoutings[kPredefinedRoutings] = {
    {"1", "12 23 34", "4"},  {"1", "12 23 24", "34"},  {"1", "12 13 24 34", "4"},
    {"12", "13 23 34", "4"}, {"1", "12 13 14", "234"}, {"123", "14 24 34", "4"},
    {"12", "13 24", "34"},   {"12", "23 34", "14"},    {"12", "23 24", "134"},
    {"123", "24 34", "14"},  {"1234", "", "1234"},
};

int operatorOf(char digit) {
    return digit - '1';
}

}  // namespace

bool predefinedRoutingValues(int routing, float values[param::kRoutingCount]) {
    if (routing < 0 || routing >= kPredefinedRoutings) return false;
    constexpr int kInputs = RoutingMatrix::kInToOp;
    constexpr int kLinks = RoutingMatrix::kOpToOp;
    constexpr int kOutputs = RoutingMatrix::kOpToOut;
    for (int gain = 0; gain < param::kRoutingCount; ++gain)
        values[gain] = 0.0f;
    const Routing& entry = kRoutings[routing];
    for (const char* op = entry.inputs; *op != 0; ++op)
        values[kInputs + operatorOf(*op)] = 1.0f;
    for (const char* link = entry.links; link[0] != 0; link += link[2] == ' ' ? 3 : 2)
        values[kLinks + RoutingMatrix::kOperators * operatorOf(link[0]) + operatorOf(link[1])] =
            1.0f;
    for (const char* op = entry.outputs; *op != 0; ++op)
        values[kOutputs + operatorOf(*op)] = 1.0f;
    return true;
}

int matchingPredefinedRouting(const float values[param::kRoutingCount]) {
    for (int routing = 0; routing < kPredefinedRoutings; ++routing) {
        float predefined[param::kRoutingCount];
        predefinedRoutingValues(routing, predefined);
        bool same = true;
        for (int gain = 0; gain < param::kRoutingCount && same; ++gain)
            same = (values[gain] > 0.0f) == (predefined[gain] > 0.0f);
        if (same) return routing;
    }
    return -1;
}

void applyPredefinedRouting(Plugin& plugin, int routing) {
    float values[param::kRoutingCount];
    if (!predefinedRoutingValues(routing, values)) return;
    // All gains reach the audio at one block start: no block mixes two routings.
    Plugin::ChangeBatch batch(plugin);
    for (int gain = 0; gain < param::kRoutingCount; ++gain)
        plugin.setParameter(param::kRoutingFirst + gain, values[gain]);
}

}  // namespace kirra::editor
