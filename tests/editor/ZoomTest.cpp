// The editor's zoom: the user's choice and its fallbacks, the size the host is told, and that it
// stays out of what the host saves.

#include <gtest/gtest.h>

#include <limits>

#include "editor/EditorFixture.h"
#include "editor/EditorTags.h"
#include "editor/EditorZoom.h"
#include "engine/ProgramLibrary.h"
#include "gui/DesktopScale.h"
#include "gui/Image.h"
#include "support/HostCommand.h"
#include "support/InProcessHost.h"

namespace {

using namespace kirra::editor;
using editor_tests::EditorFixture;

TEST(ZoomSetting, AnyScaleFallsToAStepAtOrBelowIt) {
    int previous = zoom::kMinPercent;
    for (double scale = 0.0; scale < 4.0; scale += 0.01) {
        const int percent = zoom::percentOfStep(zoom::stepBelow(scale));
        EXPECT_GE(percent, previous) << scale;  // never smaller for a larger scale
        EXPECT_LE(percent, std::max(scale * 100.0 + 1e-6, 100.0)) << scale;
        EXPECT_EQ(zoom::parsePercent(std::to_string(percent)), percent);
        previous = percent;
    }
    // What a desktop may say: nothing, nonsense, far too much.
    for (double scale : {-1.0, 0.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(zoom::stepBelow(scale), 0) << scale;
    EXPECT_EQ(zoom::percentOfStep(zoom::stepBelow(40.0)), zoom::kMaxPercent);
    for (const char* stored : {"", "abc", "130", "99", "225", "-100", "150%", "1e9"})
        EXPECT_EQ(zoom::parsePercent(stored), -1) << stored;
}

TEST(ZoomSetting, DesktopScaleFromGdkScaleElseTheResourcesDpi) {
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom("2", "Xft.dpi:\t96\n"), 2.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\n"),
                     1.5);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom("two", "Xft.dpi:\t144\n"), 0.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, "Xft.dpi: lots\n"), 0.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, nullptr), 0.0);
}

TEST(ZoomSetting, TheHostsScreenshotTakesAZoomStep) {
    const std::string path = ::testing::TempDir() + "kirra-screenshot-200.png";
    const auto shot = testing_support::runKirraCommand("screenshot --quiet --page 2 --zoom 200 " +
                                                       testing_support::shellQuoted(path));
    ASSERT_EQ(shot.status, 0) << shot.output;
    const kirra::gui::Image image = kirra::gui::Image::readPng(path);
    EXPECT_EQ(image.width(), 1660);
    EXPECT_EQ(image.height(), 670);
    for (const char* bad : {"130", "125.5", "250", "big"}) {
        EXPECT_EQ(testing_support::runKirraCommand("screenshot --zoom " + std::string(bad) + " " +
                                                   testing_support::shellQuoted(path))
                      .status,
                  2)
            << bad;
    }
}

TEST_F(EditorFixture, TheStoredZoomSizesTheHostsRectangleAndBadValuesFallBack) {
    const auto& store = plugin().getLibrary().getStore();
    vst::ERect* rect = nullptr;
    auto sizeOf = [&] {
        editor->close();
        EXPECT_TRUE(editor->getRect(&rect));
        return std::make_pair(rect->right - rect->left, rect->bottom - rect->top);
    };
    ASSERT_TRUE(store.writeText(zoom::kStoreName, "175"));
    EXPECT_EQ(sizeOf(), std::make_pair(1453, 586));
    for (const char* bad : {"garbage", "300", "0"}) {
        ASSERT_TRUE(store.writeText(zoom::kStoreName, bad));
        EXPECT_EQ(sizeOf(), std::make_pair(830, 335)) << bad;  // GDK_SCALE is 1 in the tests
        // On a desktop of 160 % the same falls back to its step.
        EXPECT_EQ(zoom::loadPercent(store, 1.6), 150) << bad;
    }
    ASSERT_TRUE(store.remove(zoom::kStoreName));
    EXPECT_EQ(zoom::loadPercent(store, 1.6), 150);
}

TEST_F(EditorFixture, TheZoomChoiceIsTheUsersAndNotTheProgramsOrTheChunks) {
    showPage(2);
    const std::vector<uint8_t> chunkBefore = testing_support::chunkOf(plugin());
    kirra::gui::Control* choice = frame().findControl(tags::kZoom);
    ASSERT_NE(choice, nullptr);
    click(choice->getRect());  // 100 -> 125 %
    tick();
    EXPECT_DOUBLE_EQ(frame().zoom(), 1.25);
    EXPECT_EQ(testing_support::chunkOf(plugin()), chunkBefore);
    EXPECT_TRUE(host->script().automation.empty());
    // Kept for the user, for every instance to open with, whatever the desktop says.
    EXPECT_EQ(zoom::loadPercent(plugin().getLibrary().getStore(), 2.0), 125);
}

}  // namespace
