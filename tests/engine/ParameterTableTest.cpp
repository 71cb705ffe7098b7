// What storing a parameter does besides storing it: module replacement, freed slots, program
// loading, values limited to the table and to 0..1, host texts within the host's buffer.

#include <gtest/gtest.h>

#include <string>

#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

std::string name(kirra::Plugin& plugin, int index) {
    return hostText(plugin, &kirra::Plugin::getParameterName, index);
}

std::string display(kirra::Plugin& plugin, int index) {
    return hostText(plugin, &kirra::Plugin::getParameterDisplay, index);
}

struct ParameterTable : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
};

}  // namespace

TEST_F(ParameterTable, ValuesReadBackAsStored) {
    plugin.setParameter(kCurrentOperator, 0.9f);
    EXPECT_FLOAT_EQ(plugin.getParameter(kCurrentOperator), stateValue(3, kPageStates));
    plugin.setParameter(290, 0.3f);  // a spare: stored with the program, no effect
    EXPECT_FLOAT_EQ(plugin.getParameter(290), 0.3f);
    EXPECT_FLOAT_EQ(plugin.getPrograms().current().values[290], 0.3f);
    plugin.setParameter(kModulationPreview, 0.9f);
    EXPECT_EQ(plugin.getParameter(kModulationPreview), 0.0f);
    // Out of range or not a number: limited to 0..1 before anything sees it.
    plugin.setParameter(kMix, 7.0f);
    EXPECT_EQ(plugin.getParameter(kMix), 1.0f);
    plugin.setParameter(kMix, NAN);
    EXPECT_EQ(plugin.getParameter(kMix), 0.0f);
    plugin.setParameter(kOperatorType1, -3.0f);
    EXPECT_EQ(plugin.getOperatorType(0), 0);
    plugin.setParameter(-1, 0.5f);
    plugin.setParameter(kInternalParameterCount, 0.5f);
    EXPECT_EQ(plugin.getParameter(kInternalParameterCount), 0.0f);
}

TEST_F(ParameterTable, TypeChangesReplaceModules) {
    plugin.selectProgram(3);
    plugin.setParameter(kOperatorType1, 0.5f);  // state 32 of 64: beyond the catalogue
    EXPECT_EQ(plugin.getOperatorType(0), 32);
    EXPECT_EQ(display(plugin, kOperatorType1), "GAIN");
    plugin.setParameter(kOperatorType1 + 1, stateValue(kirra::kStereo, 64));
    EXPECT_EQ(display(plugin, kOperatorType1 + 1), "STEREO");
    EXPECT_EQ(name(plugin, operatorParameter(1, 1)), "OP2 width");
    plugin.setParameter(kModulatorType1 + 2, stateValue(7, 64));
    EXPECT_EQ(plugin.getModulatorType(2), 7);
    EXPECT_EQ(display(plugin, kModulatorType1 + 2), "EMPTY");
    EXPECT_EQ(name(plugin, modulatorParameter(2, 0)), "MOD3 ---");
    // The stored positions follow the new module, so what is saved is what is heard.
    EXPECT_FLOAT_EQ(plugin.getParameter(operatorParameter(1, 1)), 0.5f);
    EXPECT_FLOAT_EQ(plugin.getPrograms().program(0, 3).values[operatorParameter(1, 1)], 0.5f);
    // An edit also reaches this program's memory of the type, and only this program's.
    plugin.setParameter(operatorParameter(1, 1), 0.42f);
    EXPECT_EQ(plugin.getParameterMemory().operatorValues(0, 3, 1, kirra::kStereo)[1], 0.42f);
    EXPECT_NE(plugin.getParameterMemory().operatorValues(0, 4, 1, kirra::kStereo)[1], 0.42f);
}

TEST_F(ParameterTable, ReplacingAModuleFreesTheSlotsAimedAtIt) {
    // Slots 5 and 6 aim at OP2's positions 0 and 1.
    const float aimed[2] = {stateValue(3 + 16, kDestinationStates),
                            stateValue(3 + 16 + 1, kDestinationStates)};
    const float none = stateValue(259, kDestinationStates);
    auto setType = [&](int type) { plugin.setParameter(kOperatorType1 + 1, stateValue(type, 64)); };
    auto aim = [&] {
        for (int k = 0; k < 2; ++k)
            plugin.setParameter(kSlotDestination1 + 4 + k, aimed[k]);
    };
    // Among the five interchangeable filter types the slots stay.
    setType(kirra::kBiquad);
    aim();
    for (int type : {kirra::kSVF, kirra::kMoog, kirra::kComb, kirra::kEQ, kirra::kBiquad}) {
        setType(type);
        for (int k = 0; k < 2; ++k)
            EXPECT_FLOAT_EQ(plugin.getParameter(kSlotDestination1 + 4 + k), aimed[k]) << type;
    }
    // To or from any other type they are freed, in the live state and in the program.
    for (auto [from, to] : {std::pair{kirra::kEQ, kirra::kPhaser},
                            {kirra::kBiquad, kirra::kFormant},
                            {kirra::kPhaser, kirra::kBiquad},
                            {kirra::kSVF, kirra::kGain}}) {
        setType(from);
        aim();
        setType(to);
        for (int k = 0; k < 2; ++k) {
            EXPECT_FLOAT_EQ(plugin.getParameter(kSlotDestination1 + 4 + k), none) << to;
            EXPECT_FLOAT_EQ(plugin.getPrograms().current().values[kSlotDestination1 + 4 + k], none);
        }
    }

    // A modulator replacement frees its own range only.
    plugin.setParameter(kSlotDestination1, stateValue(67 + 38 * 2 + 5, kDestinationStates));
    plugin.setParameter(kSlotDestination1 + 1, stateValue(67 + 38 * 1 + 5, kDestinationStates));
    plugin.setParameter(kModulatorType1 + 2, stateValue(3, 64));
    EXPECT_FLOAT_EQ(plugin.getParameter(kSlotDestination1), none);
    EXPECT_FLOAT_EQ(plugin.getParameter(kSlotDestination1 + 1),
                    stateValue(67 + 38 * 1 + 5, kDestinationStates));
}

TEST_F(ParameterTable, ProgramSelectionLoadsWithoutWritingBack) {
    // The live slot 1 aims at OP1's first position; the next program has a Panner there and
    // aims slot 1 at it too. Replacing the Gain on the way frees the slot, which must not be
    // written into the program being loaded.
    plugin.setParameter(kSlotDestination1, stateValue(3, kDestinationStates));
    kirra::Program& second = plugin.getPrograms().program(0, 1);
    second.values[kOperatorType1] = stateValue(kirra::kPanner, 64);
    second.values[operatorParameter(0, 0)] = 0.25f;
    second.values[kSlotDestination1] = stateValue(3, kDestinationStates);
    plugin.selectProgram(1);
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kPanner);
    EXPECT_FLOAT_EQ(plugin.getParameter(operatorParameter(0, 0)), 0.25f);
    EXPECT_FLOAT_EQ(plugin.getParameter(kSlotDestination1), stateValue(3, kDestinationStates));
    EXPECT_FLOAT_EQ(second.values[kSlotDestination1], stateValue(3, kDestinationStates));
    EXPECT_EQ(host.script().updateDisplayCalls, 1);
    plugin.selectProgram(64);  // numbers outside the bank are ignored
    plugin.selectProgram(-1);
    EXPECT_EQ(plugin.getPrograms().getCurrentPreset(), 1);
}

TEST_F(ParameterTable, HostTextsStayInsideTheHostBuffer) {
    vst::AEffect* effect = host.effect();
    for (int32_t index = -2; index < kHostParameterCount + 2; ++index) {
        for (int32_t opcode :
             {vst::effGetParamName, vst::effGetParamLabel, vst::effGetParamDisplay}) {
            char buffer[64];
            std::fill(std::begin(buffer), std::end(buffer), '#');
            effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
            EXPECT_EQ(buffer[vst::kHostTextBytes], '#') << index;
            EXPECT_NE(std::find(buffer, buffer + vst::kHostTextBytes, '\0'),
                      buffer + vst::kHostTextBytes)
                << index;
        }
    }
}
