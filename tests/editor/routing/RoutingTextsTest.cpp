// The bit switches that share one mask parameter.

#include <gtest/gtest.h>

#include <limits>

#include "editor/routing/RoutingTexts.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;

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
