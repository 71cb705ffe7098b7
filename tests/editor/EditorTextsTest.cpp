// The editor's own value texts and the values typed texts stand for.

#include <gtest/gtest.h>

#include <cmath>

#include "editor/EditorTexts.h"
#include "editor/PreferenceTextSource.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;
using kirra::ModuleText;

std::string text(void (*format)(float, ModuleText&), float value) {
    ModuleText result;
    format(value, result);
    return result;
}

TEST(EditorTexts, MainKnobsShowDecibelsAndPercentAndReadThemBack) {
    EXPECT_EQ(text(levelKnobText, 0.5f), "0.0");
    EXPECT_EQ(text(levelKnobText, 1.0f), "12.0");
    EXPECT_EQ(text(levelKnobText, 0.0f), "-oo");
    EXPECT_NEAR(levelKnobValue("0", 0.3f), 0.5f, 1e-6f);
    EXPECT_NEAR(levelKnobValue("-6.02", 0.3f), 0.3536f, 1e-3f);
    EXPECT_FLOAT_EQ(levelKnobValue("-oo", 0.3f), 0.0f);
    EXPECT_FLOAT_EQ(levelKnobValue("99", 0.3f), 1.0f);
    EXPECT_FLOAT_EQ(levelKnobValue("loud", 0.3f), 0.3f);
    EXPECT_EQ(text(percentText, 0.333f), "33.3");
    EXPECT_FLOAT_EQ(percentValue("150", 0.2f), 1.0f);
}

// The preference texts themselves are the engine's; the editor's source adds the typed hold
// times and the preview texts.
TEST(EditorTexts, PeakHoldTimeTyping) {
    PreferenceTextSource texts;
    ModuleText result;
    EXPECT_FLOAT_EQ(texts.textToValue(kirra::param::kMeterHold, "inf", 0.3f), 1.0f);
    // A number of milliseconds never means "for ever": the longest finite hold instead.
    float longest = texts.textToValue(kirra::param::kMeterHold, "5000", 0.3f);
    EXPECT_LT(longest, 1.0f);
    texts.valueText(kirra::param::kMeterHold, longest, result);
    EXPECT_STREQ(result, "4999 ms");
    EXPECT_FLOAT_EQ(meterHoldMs(1.0f), -1.0f);
    EXPECT_FLOAT_EQ(meterHoldMs(0.25f), 2000.0f);
    texts.valueText(kirra::param::kModulationPreview, kirra::indexToValue(2, 3), result);
    EXPECT_STREQ(result, "right");
}

TEST(EditorTexts, DryDelay) {
    ModuleText result;
    dryDelayText(kirra::indexToValue(12, 32769), 44100.0f, result);
    EXPECT_STREQ(result, "DLY 3 (0.1ms)");
    dryDelayText(kirra::indexToValue(1000, 32769), 48000.0f, result);
    EXPECT_STREQ(result, "DLY 250 (5.2ms)");
    float typed = dryDelayValue("250", 48000.0f, 0.0f);
    dryDelayText(typed, 48000.0f, result);
    EXPECT_STREQ(result, "DLY 250 (5.2ms)");
    typed = dryDelayValue("250", 96000.0f, 0.0f);
    dryDelayText(typed, 96000.0f, result);
    EXPECT_STREQ(result, "DLY 250 (2.6ms)");
}

}  // namespace
