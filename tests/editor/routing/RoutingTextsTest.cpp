// The texts of the routing pages and the values typed texts stand for.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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

// What a field shows, typed back in, shows the same whole number, or the next one toward zero
// where the typed value lands a rounding below it; the ends and a few points of each law.
TEST(RoutingTexts, GainsAndSensitivitiesReadBackAsWhatTheyShow) {
    auto number = [](const std::string& text) {
        return text == "-oo" ? -1000.0 : std::atof(text.c_str());
    };
    for (int step = 0; step <= 200; ++step) {
        const float value = step / 200.0f;
        const std::string gain = gainText(value);
        EXPECT_NEAR(number(gainText(connectionGainValue(gain.c_str(), 0.3f))), number(gain), 1.0)
            << value;
        const std::string shown = sensitivity(value);
        EXPECT_NEAR(number(sensitivity(sensitivityValue(shown.c_str(), 0.3f))), number(shown), 1.0)
            << value;
    }
    // The gain applied is v squared: 0.5 is -12.04 dB, shown as its whole part.
    EXPECT_EQ(gainText(0.5f), "-12");
    EXPECT_EQ(gainText(0.0f), "-oo");
    EXPECT_EQ(gainText(std::numeric_limits<float>::quiet_NaN()), "-oo");
    EXPECT_FLOAT_EQ(connectionGainValue("-oo", 0.7f), 0.0f);
    // No boost exists: anything above 0 dB is full gain.
    EXPECT_FLOAT_EQ(connectionGainValue("+6", 0.2f), 1.0f);
    EXPECT_FLOAT_EQ(connectionGainValue("loud", 0.2f), 0.2f);
    // Sensitivity: a signed percentage, without a sign at zero.
    EXPECT_EQ(sensitivity(0.5f), "0");
    EXPECT_EQ(sensitivity(1.0f), "+100");
    EXPECT_EQ(sensitivity(0.0f), "-100");
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
