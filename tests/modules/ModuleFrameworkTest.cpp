// The conventions every module shares: discrete values, modulation arithmetic, life cycle.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/ModuleFactory.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "modules/NoteValues.h"
#include "support/ModuleTexts.h"

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

TEST(ModuleFramework, ModulationAddsUpBeforeOneClamp) {
    auto gain = createOperator(kGain, 0, nullptr);
    gain->setParameter(0, 0.9f);
    gain->resetModulation();
    gain->addModulation(0, 0.3f, -1.5f);
    gain->addModulation(0, 0.2f, 0.0f);
    gain->clampModulation(0);
    EXPECT_FLOAT_EQ(gain->getModulatedValue(0, 0), 1.0f);
    EXPECT_FLOAT_EQ(gain->getModulatedValue(0, 1), 0.0f);
    gain->resetModulation();
    EXPECT_FLOAT_EQ(gain->getModulatedValue(0, 0), 0.9f);
    // Positions outside the module are ignored.
    gain->addModulation(16, 1.0f, 1.0f);
    gain->clampModulation(-1);
    EXPECT_EQ(gain->getModulatedValue(40, 0), 0.0f);
}

TEST(ModuleFramework, FreshModulesStartOnTheirTargets) {
    // After setSampleRate the first sample already uses the current setting: no glide.
    auto gain = createOperator(kGain, 0, nullptr);
    gain->setParameter(0, 0.5f);
    gain->setSampleRate(48000.0f);
    float left = 1.0f;
    float right = 1.0f;
    gain->processSample(left, right);
    EXPECT_FLOAT_EQ(left, 0.125f);
    EXPECT_FLOAT_EQ(right, 0.125f);
}

TEST(ModuleFramework, CatalogueAndFallbacks) {
    EXPECT_STREQ(operatorCatalogue(kCompExp).shortName, "COMP/EXP");
    EXPECT_STREQ(operatorCatalogue(kCompExp).text, "COMPEXP    non-lin transfer curve");
    EXPECT_STREQ(operatorCatalogue(40).shortName, "GAIN");
    EXPECT_STREQ(modulatorCatalogue(7).shortName, "EMPTY");
    for (int type = 0; type < kOperatorTypeCount; ++type) {
        EXPECT_EQ(std::strlen(operatorCatalogue(type).text), 33u) << type;
    }
    ModuleText name;
    createOperator(40, 0, nullptr)->getName(name);
    EXPECT_STREQ(name, "GAIN");
    auto empty = createModulator(7, 0, nullptr);
    empty->getName(name);
    EXPECT_STREQ(name, "EMPTY");
    EXPECT_EQ(testing_support::moduleParameterName(*empty, 3), "---");
    EXPECT_FALSE(empty->isParameterUsed(0));
    float left = 1.0f;
    float right = 1.0f;
    empty->generateSample(left, right);
    EXPECT_EQ(left, 0.0f);
    EXPECT_EQ(right, 0.0f);
}

TEST(ModuleFramework, NoteValues) {
    EXPECT_STREQ(noteValueName(5), "1/4");
    EXPECT_FLOAT_EQ(noteValueSeconds(5, 120.0f), 0.5f);
    EXPECT_FLOAT_EQ(noteValueLength(15), 0.375f);  // dotted eighth
    EXPECT_FLOAT_EQ(noteValueLength(26), 1.0f / 12.0f);
    EXPECT_EQ(noteValueFromText("3/16"), 16);
    EXPECT_EQ(noteValueFromText("1/1"), 3);
    EXPECT_EQ(noteValueFromText("1/5"), -1);
}
