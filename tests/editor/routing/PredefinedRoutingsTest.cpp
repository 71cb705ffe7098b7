// The predefined routings: what each opens, and what the audio does through them.

#include <gtest/gtest.h>

#include <string>

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

// The open connections as "IN>1 1>2 ... 4>OUT".
std::string connections(int routing) {
    float values[param::kRoutingCount];
    EXPECT_TRUE(predefinedRoutingValues(routing, values));
    std::string text;
    auto add = [&text](const std::string& link) { text += (text.empty() ? "" : " ") + link; };
    for (int op = 0; op < 4; ++op) {
        if (values[op] == 1.0f) add("IN>" + std::to_string(op + 1));
    }
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            if (values[kLinks + 4 * from + to] == 1.0f)
                add(std::to_string(from + 1) + ">" + std::to_string(to + 1));
        }
    }
    for (int op = 0; op < 4; ++op) {
        if (values[kOutputs + op] == 1.0f) add(std::to_string(op + 1) + ">OUT");
    }
    for (float value : values)
        EXPECT_TRUE(value == 0.0f || value == 1.0f);
    return text;
}

TEST(PredefinedRoutings, EachOpensItsConnectionsAndClosesTheRest) {
    const char* const expected[kPredefinedRoutings] = {
        "IN>1 1>2 2>3 3>4 4>OUT",
        "IN>1 1>2 2>3 2>4 3>OUT 4>OUT",
        "IN>1 1>2 1>3 2>4 3>4 4>OUT",
        "IN>1 IN>2 1>3 2>3 3>4 4>OUT",
        "IN>1 1>2 1>3 1>4 2>OUT 3>OUT 4>OUT",
        "IN>1 IN>2 IN>3 1>4 2>4 3>4 4>OUT",
        "IN>1 IN>2 1>3 2>4 3>OUT 4>OUT",
        "IN>1 IN>2 2>3 3>4 1>OUT 4>OUT",
        "IN>1 IN>2 2>3 2>4 1>OUT 3>OUT 4>OUT",
        "IN>1 IN>2 IN>3 2>4 3>4 1>OUT 4>OUT",
        "IN>1 IN>2 IN>3 IN>4 1>OUT 2>OUT 3>OUT 4>OUT",
    };
    for (int routing = 0; routing < kPredefinedRoutings; ++routing)
        EXPECT_EQ(connections(routing), expected[routing]) << "routing " << routing;
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
    testing_support::Stereo input(64);
    input.left = testing_support::impulse(64, 0, 0.25f);
    input.right = input.left;
    return host.process(input, 64);
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
