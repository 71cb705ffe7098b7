// Replacing the module in a slot in its steps: what preparing may touch (nothing in the slots),
// what staging changes for the other threads (their view of the slot, the destinations aimed at
// the old module, the stored values) while the audio thread keeps its module, and what installing
// swaps at the block boundary, with and without a program loading.

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
    float table[kInternalParameterCount] = {};
    std::vector<Stored> values;
    float storedValue(int index) const override { return table[index]; }
    void storeSlotValue(int index, float value, bool intoProgram) override {
        table[index] = value;
        values.push_back({index, value, intoProgram});
    }
};

float destinationValue(int destination) {
    return indexToValue(destination, kDestinationStates);
}

}  // namespace

TEST(ModuleSlots, PreparingTouchesNothingStagingSwitchesTheViewInstallingTheAudio) {
    RecordingStore store;
    for (int k = 0; k < kModulationSlots; ++k)
        store.table[kSlotDestination1 + k] = destinationValue(ModulationSlots::kDestinationNone);
    store.table[kSlotDestination1 + 3] =
        destinationValue(ModulationSlots::kDestinationOperator + 2);
    store.table[kSlotDestination1 + 4] = destinationValue(ModulationSlots::kDestinationModulator);
    ModuleSlots slots(nullptr, store);
    slots.setSampleRate(96000.0f);
    slots.setModulationPreview(2);
    Operator* oldGain = slots.getOperator(0);

    ModuleSlots::PreparedOperator prepared = slots.prepareOperator(0, kPanner);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(slots.getOperatorType(0), kGain);
    EXPECT_TRUE(store.values.empty());
    // Configured before it is staged: a module built later follows the present settings.
    EXPECT_EQ(prepared.module->getSampleRate(), 96000.0f);
    EXPECT_EQ(prepared.module->getPreviewMode(), 2);
    EXPECT_FALSE(slots.prepareOperator(0, kModuleTypeStates));
    EXPECT_FALSE(slots.prepareModulator(kSlotCount, kLFO));

    EngineChange change;
    change.stores.push_back({operatorParameter(0, 1), 0.25f});  // meant for the old module
    change.stores.push_back({kMix, 0.5f});
    Operator* panner = prepared.module.get();
    slots.stage(std::move(prepared), change, false);
    EXPECT_EQ(slots.getOperator(0), panner);
    EXPECT_EQ(slots.getOperatorType(0), kPanner);
    EXPECT_EQ(&slots.operatorIn(0), oldGain);
    // The freed destination first, then every position at the new type's default; only the
    // destination aimed at this slot goes, and no value queued for the old module stays.
    ASSERT_EQ(store.values.size(), 1u + kOperatorPositions);
    EXPECT_EQ(store.values[0].index, kSlotDestination1 + 3);
    EXPECT_EQ(store.values[0].value, destinationValue(ModulationSlots::kDestinationNone));
    EXPECT_TRUE(store.values[0].intoProgram);
    EXPECT_EQ(store.values[1].index, operatorParameter(0, 0));
    EXPECT_EQ(store.values[1].value, panner->getBaseValue(0));
    ASSERT_EQ(change.stores.size(), 1u);
    EXPECT_EQ(change.stores[0].index, kMix);

    // A second request before the block takes the first one's place.
    ModuleSlots::PreparedOperator second = slots.prepareOperator(0, kPanner);
    Operator* latest = second.module.get();
    slots.stage(std::move(second), change, false);
    EXPECT_EQ(change.operators[0].get(), latest);
    panner = latest;

    slots.install(change);
    EXPECT_EQ(&slots.operatorIn(0), panner);
    EXPECT_EQ(change.operators[0].get(), oldGain);  // destroyed with the change, elsewhere

    // While a program loads the freed destination stays out of the program and no default is
    // stored; the replaced modulator's last output is gone once the new one is in.
    store.values.clear();
    EngineChange loading;
    slots.modulatorOutputs()[0][0] = 0.5f;
    slots.stage(slots.prepareModulator(0, kLFO), loading, true);
    EXPECT_EQ(slots.modulatorOutputs()[0][0], 0.5f);
    ASSERT_EQ(store.values.size(), 1u);
    EXPECT_EQ(store.values[0].index, kSlotDestination1 + 4);
    EXPECT_FALSE(store.values[0].intoProgram);
    EXPECT_TRUE(slots.isModulatorEmpty(0));
    slots.install(loading);
    EXPECT_EQ(slots.modulatorOutputs()[0][0], 0.0f);
    EXPECT_FALSE(slots.isModulatorEmpty(0));
}
