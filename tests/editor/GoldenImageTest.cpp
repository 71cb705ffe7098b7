// Each main page rendered offscreen and compared with the stored image, so that a drawing
// regression shows. Text rendering may differ in single pixels between machines, so a few
// differing pixels pass. KIRRA_UPDATE_GOLDEN=1 rewrites the stored images (review them).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/Editor.h"
#include "editor/EditorLayout.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;

// A channel further off than this counts the pixel as different.
constexpr int kChannelTolerance = 24;
// Share of the window's pixels that may differ.
constexpr double kDifferentShare = 0.002;

int channelDistance(uint32_t a, uint32_t b) {
    int distance = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        distance = std::max(distance, std::abs(difference));
    }
    return distance;
}

kirra::gui::Image renderPage(int page) {
    testing_support::InProcessHost host;
    auto* editor = new Editor(host.plugin());
    host.plugin().attachEditor(editor, editor);
    // Fixed names, whatever the factory banks hold.
    for (int preset = 0; preset < 64; ++preset) {
        std::string name = "Program " + std::to_string(preset + 1);
        host.plugin().getPrograms().program(0, preset).setName(name.c_str());
    }
    host.plugin().setParameter(param::kCurrentMain, kirra::indexToValue(page, 4));
    editor->openOffscreen();
    kirra::gui::Image image(layout::kWidth, layout::kHeight);
    editor->getFrame()->renderAll(image);
    return image;
}

class GoldenImage : public ::testing::TestWithParam<int> {};

TEST_P(GoldenImage, PageLooksAsStored) {
    const int page = GetParam();
    const std::string name = "page" + std::to_string(page) + ".png";
    const std::string stored = std::string(KIRRA_SOURCE_DIR) + "/tests/editor/golden/" + name;
    kirra::gui::Image actual = renderPage(page);
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
            if (channelDistance(actual.pixel(x, y), expected.pixel(x, y)) > kChannelTolerance)
                ++different;
        }
    }
    const int allowed = static_cast<int>(kDifferentShare * actual.width() * actual.height());
    if (different > allowed) {
        std::string saved = ::testing::TempDir() + "actual-" + name;
        actual.writePng(saved);
        FAIL() << different << " pixels differ from " << stored << " (allowed " << allowed
               << "); this rendering is in " << saved;
    }
}

INSTANTIATE_TEST_SUITE_P(MainPages, GoldenImage, ::testing::Values(0, 1, 2, 3));

}  // namespace
