// How changes meet the block boundary when nothing runs in parallel: a value set after a program
// change that waits for its block lands after it, and a module that cannot be built leaves
// everything as it was.

#include <gtest/gtest.h>

#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/filters/Biquad.h"
#include "support/AllocationCounter.h"
#include "support/InProcessHost.h"

using namespace testing_support;
using namespace kirra::param;

TEST(PluginChanges, AValueSetWhileAProgramWaitsForItsBlockLandsAfterIt) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    const int frequency = operatorParameter(1, kirra::Biquad::kFreqA);
    plugin.setParameter(kOperatorType1 + 1, stateValue(kirra::kBiquad, kirra::kModuleTypeStates));
    host.process(Stereo(64), 64);
    plugin.getPrograms().current().values[frequency] = 0.2f;
    plugin.selectProgram(plugin.getPrograms().getCurrentPreset());
    plugin.setParameter(frequency, 0.7f);
    host.process(Stereo(64), 64);
    EXPECT_EQ(plugin.getOperator(1)->getBaseValue(kirra::Biquad::kFreqA), 0.7f);
    EXPECT_EQ(plugin.getParameter(frequency), 0.7f);
    EXPECT_EQ(plugin.getPrograms().current().values[frequency], 0.7f);
}

TEST(PluginChanges, AModuleThatCannotBeBuiltLeavesTheSlotAndReportsNothing) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    const float before = plugin.getParameter(kOperatorType1);
    const int updates = host.script().updateDisplayCalls;
    {
        // The delay line's four-second lines are the allocation that fails.
        AllocationFailure outOfMemory(100000);
        plugin.setParameter(kOperatorType1,
                            stateValue(kirra::kDelayLine, kirra::kModuleTypeStates));
    }
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kGain);
    EXPECT_EQ(plugin.getParameter(kOperatorType1), before);
    EXPECT_EQ(plugin.getPrograms().current().values[kOperatorType1], before);
    EXPECT_EQ(host.script().updateDisplayCalls, updates);
    // Memory back, the same request succeeds.
    plugin.setParameter(kOperatorType1, stateValue(kirra::kDelayLine, kirra::kModuleTypeStates));
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kDelayLine);
}
