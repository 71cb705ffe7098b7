// The predefined routings: what each opens, and what the audio does through them.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "editor/routing/PredefinedRoutings.h"
#include "engine/FlatProgram.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;

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

// Four unity gains, levels at unity, limiter off: the output is what the matrix makes of the
// input.
testing_support::Stereo impulseThrough(testing_support::InProcessHost& host, int routing) {
    kirra::Plugin& plugin = host.plugin();
    constexpr kirra::ProgramValues flat = kirra::flatProgramValues();
    for (int index = 0; index < param::kProgramParameterCount; ++index)
        plugin.setParameter(index, flat.values[index]);
    plugin.setParameter(param::kOutLimiter, 0.0f);
    applyPredefinedRouting(plugin, routing);
    plugin.suspend();
    plugin.resume();
    return host.process(testing_support::stereo(testing_support::impulse(64, 0, 0.25f)), 64);
}

TEST(PredefinedRoutings, TheAudioFollowsTheRoutingApplied) {
    testing_support::InProcessHost host;
    // The chain: one sample per operator link.
    testing_support::Stereo chain = impulseThrough(host, 0);
    EXPECT_EQ(testing_support::peakIndex(chain.left), 3u);
    EXPECT_NEAR(testing_support::peak(chain.left), 0.25f, 1e-6f);
    // Four operators side by side: four times the input, at once.
    testing_support::Stereo parallel = impulseThrough(host, 10);
    EXPECT_EQ(testing_support::peakIndex(parallel.left), 0u);
    EXPECT_NEAR(parallel.left[0], 1.0f, 1e-6f);
    EXPECT_NEAR(parallel.right[0], 1.0f, 1e-6f);
    // Routing 8: OP1 straight out, OP3 and OP4 one link after OP2.
    testing_support::Stereo split = impulseThrough(host, 8);
    EXPECT_NEAR(split.left[0], 0.25f, 1e-6f);
    EXPECT_NEAR(split.left[1], 0.5f, 1e-6f);
    EXPECT_NEAR(testing_support::peak(split.left, 2), 0.0f, 1e-6f);
}

}  // namespace
