// The editor's undo and redo, kept by the engine: steps of values, applied only to the module
// types they were recorded with. (That undoing allocates nothing on the audio thread is an engine
// threads test.)

#include <gtest/gtest.h>

#include "engine/EditHistory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

// One gesture of the editor setting one value.
void edit(kirra::Plugin& plugin, int index, float value) {
    kirra::EditHistory::Gesture gesture(plugin.getEditHistory());
    plugin.setParameter(index, value);
}

float typeValue(int type) {
    return stateValue(type, kirra::kModuleTypeStates);
}

// A plug-in as a host holds it.
struct EditHistory : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
};

}  // namespace

TEST_F(EditHistory, KeepsMoreThanAHundredStepsAndANewEditClearsRedo) {
    kirra::EditHistory& history = plugin.getEditHistory();
    const float start = plugin.getParameter(kMix);
    for (int step = 1; step <= 120; ++step)
        edit(plugin, kMix, step / 200.0f);
    EXPECT_EQ(history.undoSteps(), 120);
    for (int step = 119; step >= 1; --step) {
        ASSERT_TRUE(history.undo());
        EXPECT_FLOAT_EQ(plugin.getParameter(kMix), step / 200.0f);
    }
    ASSERT_TRUE(history.undo());
    EXPECT_FLOAT_EQ(plugin.getParameter(kMix), start);
    EXPECT_FALSE(history.undo());

    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_FLOAT_EQ(plugin.getParameter(kMix), 2 / 200.0f);
    edit(plugin, kInput, 0.3f);
    EXPECT_FALSE(history.canRedo());
    // A gesture that changes nothing is no step.
    edit(plugin, kInput, 0.3f);
    EXPECT_EQ(history.undoSteps(), 3);
}

TEST_F(EditHistory, UndoingATypeChangeBringsBackTheModuleWithItsValues) {
    auto setUp = [](kirra::Plugin& target) {
        target.setParameter(kOperatorType1, typeValue(kirra::kBiquad));
        target.setParameter(operatorParameter(0, 0), 0.31f);
        target.setParameter(operatorParameter(0, 3), 0.77f);
    };
    InProcessHost reference;
    setUp(reference.plugin());
    setUp(plugin);

    edit(plugin, kOperatorType1, typeValue(kirra::kSVF));
    ASSERT_EQ(plugin.getOperatorType(0), kirra::kSVF);
    ASSERT_TRUE(plugin.getEditHistory().undo());
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kBiquad);
    for (int index = 0; index < kProgramParameterCount; ++index)
        ASSERT_EQ(plugin.getParameter(index), reference.plugin().getParameter(index)) << index;
    const Stereo input = stereo(noise(4096, 7, 0.5f));
    EXPECT_EQ(host.process(input).left, reference.process(input).left);

    ASSERT_TRUE(plugin.getEditHistory().redo());
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kSVF);
}

TEST_F(EditHistory, UndoingALoadGoesBackToTheProgramItLeft) {
    kirra::EditHistory& history = plugin.getEditHistory();
    kirra::ProgramStore& programs = plugin.getPrograms();
    programs.program(0, 4).values[kMix] = 0.8f;
    edit(plugin, kMix, 0.3f);
    {
        kirra::EditHistory::Gesture load(history);
        plugin.selectProgram(4);
    }
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(programs.getCurrentPreset(), 0);
    EXPECT_FLOAT_EQ(plugin.getParameter(kMix), 0.3f);
    // The program that was loaded keeps its own values.
    EXPECT_FLOAT_EQ(programs.program(0, 4).values[kMix], 0.8f);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(programs.getCurrentPreset(), 4);
    EXPECT_FLOAT_EQ(plugin.getParameter(kMix), 0.8f);
}

// The host replaced the module after the edit: the old module's values must not land in it.
TEST_F(EditHistory, AValueNeverGoesIntoAnotherModuleType) {
    plugin.setParameter(kOperatorType1, typeValue(kirra::kBiquad));
    edit(plugin, operatorParameter(0, 0), 0.9f);
    edit(plugin, kMix, 0.25f);
    host.setHostParameter(kOperatorType1, typeValue(kirra::kDistortion));
    const float distortionValue = plugin.getParameter(operatorParameter(0, 0));
    const std::vector<uint8_t> chunk = chunkOf(plugin);

    kirra::EditHistory& history = plugin.getEditHistory();
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kDistortion);
    EXPECT_FLOAT_EQ(plugin.getParameter(operatorParameter(0, 0)), distortionValue);
    // Values of the instance itself still come back.
    EXPECT_NE(plugin.getParameter(kMix), 0.25f);

    // Nor after a restored state with other modules.
    ASSERT_TRUE(history.redo());
    plugin.setChunk(const_cast<uint8_t*>(chunk.data()), static_cast<int32_t>(chunk.size()), false);
    ASSERT_TRUE(history.redo());
    EXPECT_FLOAT_EQ(plugin.getParameter(operatorParameter(0, 0)), distortionValue);
}
