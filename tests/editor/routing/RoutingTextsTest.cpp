// The texts of the routing pages and the values typed texts stand for.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "editor/routing/RoutingTexts.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;

std::string gainText(float value) {
    kirra::ModuleText text = "";
    connectionGainText(value, text);
    return text;
}

std::string sensitivity(float value) {
    kirra::ModuleText text = "";
    sensitivityText(value, text);
    return text;
}

TEST(RoutingTexts, ConnectionGainShowsTheDecibelsOfTheGainApplied) {
    EXPECT_EQ(gainText(0.0f), "-oo");
    EXPECT_EQ(gainText(1.0f), "  0");
    // v = 0.5 applies 0.25, -12.04 dB, shown as its whole part.
    EXPECT_EQ(gainText(0.5f), "-12");
    // -20.9 dB: the whole part, toward zero.
    EXPECT_EQ(gainText(0.3f), "-20");
    // Below one hundred-and-first of the range it counts as off.
    EXPECT_EQ(gainText(0.0098f), "-oo");
    EXPECT_EQ(gainText(0.0100f), "-80");
    EXPECT_EQ(gainText(std::numeric_limits<float>::quiet_NaN()), "-oo");
}

TEST(RoutingTexts, TypedConnectionGainsReadBackAsWhatTheyShow) {
    const std::pair<const char*, const char*> typedAndShown[] = {
        {"0", "  0"}, {"-6", " -6"}, {"-12.5", "-12"}, {"-40", "-40"}, {"-79", "-79"}};
    for (const auto& [typed, shown] : typedAndShown)
        EXPECT_EQ(gainText(connectionGainValue(typed, 0.3f)), shown) << typed;
    EXPECT_FLOAT_EQ(connectionGainValue("-oo", 0.7f), 0.0f);
    EXPECT_FLOAT_EQ(connectionGainValue(" -inf", 0.7f), 0.0f);
    // No boost exists: anything above 0 dB is full gain.
    EXPECT_FLOAT_EQ(connectionGainValue("+6", 0.2f), 1.0f);
    EXPECT_FLOAT_EQ(connectionGainValue("loud", 0.2f), 0.2f);
}

TEST(RoutingTexts, SensitivityIsASignedPercentageWithoutSignAtZero) {
    EXPECT_EQ(sensitivity(0.5f), "0");
    EXPECT_EQ(sensitivity(1.0f), "+100");
    EXPECT_EQ(sensitivity(0.0f), "-100");
    EXPECT_EQ(sensitivity(0.75f), "+50");
    EXPECT_EQ(sensitivity(0.25f), "-50");
    EXPECT_EQ(sensitivity(0.502f), "0");
    EXPECT_FLOAT_EQ(sensitivityValue("+50", 0.5f), 0.75f);
    EXPECT_FLOAT_EQ(sensitivityValue("-25", 0.5f), 0.375f);
    EXPECT_FLOAT_EQ(sensitivityValue("-150", 0.5f), 0.0f);
    EXPECT_FLOAT_EQ(sensitivityValue("more", 0.3f), 0.3f);
}

TEST(RoutingTexts, ABitOfASharedMaskFlipsAlone) {
    float coding = kirra::indexToValue(0x21, 256);
    float flipped = withBitToggled(coding, 256, 7);
    EXPECT_EQ(maskOf(flipped, 256), 0xA1);
    EXPECT_EQ(maskOf(withBitToggled(flipped, 256, 7), 256), 0x21);
    EXPECT_EQ(maskOf(withBitToggled(kirra::indexToValue(15, 16), 16, 0), 16), 14);
    // A careless host's value reads as an empty mask.
    EXPECT_EQ(maskOf(withBitToggled(std::numeric_limits<float>::quiet_NaN(), 16, 2), 16), 4);
}

}  // namespace
