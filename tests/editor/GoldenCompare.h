#pragma once
// Compares an offscreen rendering with a stored image in tests/editor/golden/, so that a drawing
// regression shows. Text rendering may differ in single pixels between machines, so a few
// differing pixels pass. KIRRA_UPDATE_GOLDEN=1 rewrites the stored images (review them).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gui/Image.h"

namespace testing_support {

// A channel further off than this counts the pixel as different.
constexpr int kGoldenChannelTolerance = 24;
// Share of the image's pixels that may differ.
constexpr double kGoldenDifferentShare = 0.002;

inline int channelDistance(uint32_t a, uint32_t b) {
    int distance = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        distance = std::max(distance, std::abs(difference));
    }
    return distance;
}

// Renderings at 100 % keep their names; others live in a folder per zoom ("zoom200/page0.png").
inline std::string zoomedName(const std::string& name, int percent) {
    return percent == 100 ? name : "zoom" + std::to_string(percent) + "/" + name;
}

inline void expectLooksAsStored(const kirra::gui::Image& actual, const std::string& name) {
    const std::string stored = std::string(KIRRA_SOURCE_DIR) + "/tests/editor/golden/" + name;
    ASSERT_TRUE(actual.isValid());
    const char* update = std::getenv("KIRRA_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_TRUE(actual.writePng(stored));
        GTEST_SKIP() << "rewrote " << stored;
    }
    kirra::gui::Image expected = kirra::gui::Image::readPng(stored);
    ASSERT_TRUE(expected.isValid()) << "missing " << stored;
    ASSERT_EQ(expected.width(), actual.width());
    ASSERT_EQ(expected.height(), actual.height());
    int different = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (channelDistance(actual.pixel(x, y), expected.pixel(x, y)) > kGoldenChannelTolerance)
                ++different;
        }
    }
    const int allowed = static_cast<int>(kGoldenDifferentShare * actual.width() * actual.height());
    if (different > allowed) {
        std::string flat = name;
        std::replace(flat.begin(), flat.end(), '/', '-');
        std::string saved = ::testing::TempDir() + "actual-" + flat;
        actual.writePng(saved);
        FAIL() << different << " pixels differ from " << stored << " (allowed " << allowed
               << "); this rendering is in " << saved;
    }
}

}  // namespace testing_support
