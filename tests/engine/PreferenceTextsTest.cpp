// The preferences page's texts and what typed entries become.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/ParameterIndex.h"
#include "engine/PreferenceTexts.h"
#include "modules/ModuleMath.h"

using namespace kirra;
using namespace kirra::param;

namespace {

std::string shown(int parameter, float value) {
    ModuleText text;
    preferenceText(parameter, value, text);
    return text;
}

std::string typed(int parameter, const char* entry, float current = 0.5f) {
    return shown(parameter, preferenceValue(parameter, entry, current));
}

}  // namespace

TEST(PreferenceTexts, Items) {
    EXPECT_STREQ(preferenceItem(0).caption, "limiting mode");
    EXPECT_STREQ(preferenceItem(0).heading, "OUTPUT PEAK LIMITER:");
    EXPECT_EQ(preferenceItem(3).parameter, kPpqOffset);
    EXPECT_STREQ(preferenceItem(5).caption, "peak hold time");
    EXPECT_STREQ(preferenceItem(5).heading, "METERING:");
    EXPECT_EQ(preferenceChoices(kOutLimiter), 4);
    EXPECT_EQ(preferenceChoices(kTempoSync), 2);
    EXPECT_EQ(preferenceChoices(kTempo), 0);
}

TEST(PreferenceTexts, ListTexts) {
    EXPECT_EQ(shown(kOutLimiter, indexToValue(0, 16)), "disabled");
    EXPECT_EQ(shown(kOutLimiter, indexToValue(3, 16)), "fast");
    EXPECT_EQ(shown(kOutLimiter, indexToValue(4, 16)), "n/a");
    EXPECT_EQ(shown(kTempoSync, indexToValue(0, 4)), "disabled");
    EXPECT_EQ(shown(kTempoSync, indexToValue(1, 4)), "enabled");
    EXPECT_EQ(shown(kTempoSync, indexToValue(3, 4)), "n/a");
}

TEST(PreferenceTexts, PeakHoldTime) {
    EXPECT_EQ(typed(kMeterHold, "inf"), "infinite");
    EXPECT_EQ(preferenceValue(kMeterHold, "  Infinite", 0.2f), 1.0f);
    EXPECT_EQ(preferenceValue(kMeterHold, "500", 0.2f), 0.0f);
    EXPECT_EQ(typed(kMeterHold, "500"), "1000 ms");
    EXPECT_EQ(shown(kMeterHold, 0.25f), "2000 ms");
    EXPECT_EQ(typed(kMeterHold, "9999"), "infinite");
    EXPECT_EQ(typed(kMeterHold, "nonsense", 0.25f), "2000 ms");
    // Every whole millisecond typed comes back as typed.
    for (int ms = 1000; ms < 5000; ++ms) {
        ASSERT_EQ(typed(kMeterHold, std::to_string(ms).c_str()), std::to_string(ms) + " ms");
    }
}

TEST(PreferenceTexts, TempoOffsetAndFallback) {
    EXPECT_EQ(shown(kTempo, 1.0f / 3.0f), "120.0 bpm");
    EXPECT_EQ(typed(kTempo, "140"), "140.0 bpm");
    EXPECT_EQ(typed(kTempo, "10"), "30.0 bpm");
    EXPECT_EQ(typed(kTempo, "1e9"), "300.0 bpm");
    EXPECT_EQ(typed(kTempo, "", 0.0f), "30.0 bpm");
    EXPECT_EQ(typed(kPpqOffset, "5.9"), "5/16");
    EXPECT_EQ(typed(kPpqOffset, "-3"), "0/16");
    EXPECT_EQ(typed(kPpqOffset, "40"), "16/16");
    EXPECT_EQ(typed(kMeterFalloff, "2"), "6 dB/sec");
    EXPECT_EQ(typed(kMeterFalloff, "100"), "60 dB/sec");
    // What the meters use is the truncated reading; a typed whole number must survive it.
    for (int speed = 6; speed <= 60; ++speed) {
        float value = preferenceValue(kMeterFalloff, std::to_string(speed).c_str(), 0.0f);
        ASSERT_EQ(6 + static_cast<int>(54.0f * value), speed);
        ASSERT_EQ(shown(kMeterFalloff, value), std::to_string(speed) + " dB/sec");
    }
    EXPECT_EQ(preferenceValue(kMeterFalloff, "nan", 0.3f), 0.3f);
    EXPECT_EQ(shown(kMeterFalloff, std::nanf("")), "6 dB/sec");
}
