// Replacing the module in a slot in its two steps: what preparing may touch (nothing in the slots)
// and what installing changes (the slot, the destinations aimed at the old module, the stored
// values), with and without a program loading.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/ModulationSlots.h"
#include "engine/ModuleSlots.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

using namespace kirra;
using namespace kirra::param;

namespace {

struct Stored {
    int index;
    float value;
    bool intoProgram;
};

struct RecordingStore : ModuleSlots::ValueStore {
    std::vector<Stored> values;
    void storeSlotValue(int index, float value, bool intoProgram) override {
        values.push_back({index, value, intoProgram});
    }
};

struct SlotsUnderTest {
    ModulationSlots modulation;
    RecordingStore store;
    ModuleSlots slots{nullptr, modulation, store};
};

}  // namespace

TEST(ModuleSlots, PreparingTouchesNothingAndInstallingSwapsFreesAndStores) {
    SlotsUnderTest under;
    ModuleSlots& slots = under.slots;
    under.modulation.setDestination(3, ModulationSlots::kDestinationOperator + 2);  // OP1
    under.modulation.setDestination(4, ModulationSlots::kDestinationModulator);     // MOD1
    slots.setSampleRate(96000.0f);
    slots.setModulationPreview(2);

    ModuleSlots::PreparedOperator prepared = slots.prepareOperator(0, kPanner);
    ASSERT_TRUE(prepared);
    Operator* oldGain = slots.getOperator(0);
    EXPECT_EQ(slots.getOperatorType(0), kGain);
    EXPECT_EQ(under.modulation.getDestination(3), ModulationSlots::kDestinationOperator + 2);
    EXPECT_TRUE(under.store.values.empty());
    // Configured before it is installed: a module built later follows the present settings.
    EXPECT_EQ(prepared.module->getSampleRate(), 96000.0f);
    EXPECT_EQ(prepared.module->getPreviewMode(), 2);
    EXPECT_FALSE(slots.prepareOperator(0, kModuleTypeStates));
    EXPECT_FALSE(slots.prepareModulator(kSlotCount, kLFO));

    std::unique_ptr<Operator> replaced = slots.install(std::move(prepared), false);
    EXPECT_EQ(replaced.get(), oldGain);
    EXPECT_EQ(slots.getOperatorType(0), kPanner);
    EXPECT_EQ(under.modulation.getDestination(3), ModulationSlots::kDestinationNone);
    EXPECT_EQ(under.modulation.getDestination(4), ModulationSlots::kDestinationModulator);
    // The freed destination first, then every position at the new type's default.
    const float none = indexToValue(ModulationSlots::kDestinationNone, kDestinationStates);
    ASSERT_EQ(under.store.values.size(), 1u + kOperatorPositions);
    EXPECT_EQ(under.store.values[0].index, kSlotDestination1 + 3);
    EXPECT_EQ(under.store.values[0].value, none);
    EXPECT_TRUE(under.store.values[0].intoProgram);
    EXPECT_EQ(under.store.values[1].index, operatorParameter(0, 0));
    EXPECT_EQ(under.store.values[1].value, slots.getOperator(0)->getBaseValue(0));

    // While a program loads the freed destination stays out of the program and no default is
    // stored; the replaced modulator's last output is gone.
    under.store.values.clear();
    slots.modulatorOutputs()[0][0] = 0.5f;
    ASSERT_TRUE(slots.replaceModulator(0, kLFO, true));
    EXPECT_EQ(slots.modulatorOutputs()[0][0], 0.0f);
    EXPECT_EQ(under.modulation.getDestination(4), ModulationSlots::kDestinationNone);
    ASSERT_EQ(under.store.values.size(), 1u);
    EXPECT_FALSE(under.store.values[0].intoProgram);
}
