// The conventions every module shares: discrete values, modulation arithmetic and tempo-locked
// times. (That a fresh module starts on its targets is heard through the signal path.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/ModuleFactory.h"
#include "modulators/ADSR.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "modules/NoteValues.h"
#include "operators/effects/DelayLine.h"

using namespace kirra;

TEST(ModuleFramework, DiscreteValuesSitInTheMiddleOfTheirBins) {
    EXPECT_FLOAT_EQ(indexToValue(1, 2), 0.75f);
    EXPECT_EQ(valueToIndex(1.0f, 4), 3);
    EXPECT_EQ(valueToIndex(0.99f, 64), 63);
    EXPECT_EQ(valueToIndex(0.0f, 64), 0);
    for (int states : {2, 3, 16, 149, 260, 32769, 65536}) {
        for (int index = 0; index < states; index += 1 + states / 50) {
            ASSERT_EQ(valueToIndex(indexToValue(index, states), states), index) << states;
        }
    }
    // What a careless host may send still lands on a valid state.
    EXPECT_EQ(valueToIndex(-0.5f, 64), 0);
    EXPECT_EQ(valueToIndex(NAN, 64), 0);
    EXPECT_EQ(valueToIndex(3.0f, 64), 63);
}

// (How slots add up and clamp is measured through the plug-in.) Positions outside a module, from
// a damaged destination, are ignored.
TEST(ModuleFramework, ModulationOfPositionsOutsideTheModuleIsIgnored) {
    auto gain = createOperator(kGain, 0, nullptr);
    gain->resetModulation();
    gain->addModulation(16, 1.0f, 1.0f);
    gain->addModulation(-1, 1.0f, 1.0f);
    gain->clampModulation(-1);
    gain->clampModulation(Module::kMaxPositions);
    EXPECT_EQ(gain->getModulatedValue(40, 0), 0.0f);
    EXPECT_EQ(gain->getModulatedValue(0, 0), gain->getBaseValue(0));
}

// The LFO's, the ADSR's and the delay's mode switches turn a note value into the time it lasts
// at the tempo (as far as their ranges reach) and that time back into the same note value.
TEST(ModuleFramework, ModeSwitchesKeepTheDurationOfANoteValue) {
    const float bpm = 120.0f;
    EXPECT_FLOAT_EQ(noteValueSeconds(noteValueFromText("1/4"), bpm), 0.5f);  // one beat
    EXPECT_EQ(noteValueFromText("1/5"), -1);
    for (int k = 0; k < kNoteValueCount; ++k) {
        SCOPED_TRACE(noteValueName(k));
        EXPECT_EQ(noteValueFromText(noteValueName(k)), k);
        const float seconds = noteValueSeconds(k, bpm);
        const float note = indexToValue(k, kNoteValueCount);

        const float time =
            DelayLine::convertTimeValue(note, DelayLine::kTempoBased, DelayLine::kTimeBased, bpm);
        EXPECT_NEAR(time * DelayLine::kMaxSeconds, std::min(seconds, DelayLine::kMaxSeconds),
                    1e-5f);
        if (seconds <= DelayLine::kMaxSeconds) {
            EXPECT_EQ(DelayLine::convertTimeValue(time, DelayLine::kTimeBased,
                                                  DelayLine::kTempoBased, bpm),
                      note);
        }

        // One cycle per note value; faster than the free rates go is their top.
        const float rate = LFO::convertRate(note, LFO::kHertzMode, bpm);
        EXPECT_NEAR(LFO::rateHz(rate), std::min(1.0f / seconds, LFO::rateHz(1.0f)), 1e-3f);
        if (rate < 1.0f) {
            EXPECT_EQ(LFO::convertRate(rate, LFO::kRhythmMode, bpm), note);
        }

        // The envelope's entries are "0" and then the note values.
        const float entry = indexToValue(k + 1, ADSR::kDivisionCount);
        for (int position : {ADSR::kAttack, ADSR::kRelease}) {
            const float absolute = ADSR::convertTime(position, entry, ADSR::kAbsoluteMode, bpm);
            if (absolute < 1.0f) {
                EXPECT_EQ(ADSR::convertTime(position, absolute, ADSR::kTempoMode, bpm), entry)
                    << position;
            }
        }
    }
}
