// The editor in a real window, as a DAW would show it: kirra.so loaded through its entry point,
// the editor opened inside a parent window of the test's own, driven by pointer events from
// xdotool, closed and reopened. Needs an X display; `make test` runs these under Xvfb.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "editor/EditorWindowFixture.h"

namespace {

using namespace window_testing;

TEST_F(EditorWindow, PointerEventsReachThePluginAndTheWindowShowsTheirEffect) {
    auto plugin = load();
    Window editor = openEditor(*plugin);
    ASSERT_NE(editor, 0u);
    // The pointer away from the editor, so that nothing shows its hover look.
    ASSERT_EQ(run("xdotool mousemove 1000 700"), 0);
    // The window shows what the offscreen rendering of the same state shows.
    kirra::gui::Image before = offscreenRendering(*plugin, "editor-window-gain.png");
    ASSERT_TRUE(before.isValid());
    EXPECT_TRUE(waitFor([&] { return pixelsDifferingFrom(editor, before) == 0; }))
        << pixelsDifferingFrom(editor, before) << " pixels differ";
    const std::string window = " --window " + std::to_string(editor) + " ";
    // Mix starts at 100 %; dragging its knob 100 pixels down (of 200) halves it.
    ASSERT_EQ(run("xdotool mousemove" + window + "387 258 mousedown 1 sleep 0.1 mousemove" +
                  window + "387 308 sleep 0.1 mousemove" + window + "387 358 sleep 0.1 mouseup 1"),
              0);
    EXPECT_TRUE(waitFor([&] { return std::abs(plugin->getParameter(2) - 0.5f) < 1e-4f; }));
    // The power switch.
    ASSERT_EQ(run("xdotool mousemove" + window + "502 258 click 1"), 0);
    EXPECT_TRUE(waitFor([&] { return plugin->getParameter(0) < 0.5f; }));

    // The operator picker's right arrow: from the gain to the biquad.
    const int typeBefore = static_cast<int>(plugin->getParameter(12) * 64);
    ASSERT_EQ(run("xdotool mousemove" + window + "748 48 click 1 mousemove 1000 700"), 0);
    ASSERT_TRUE(
        waitFor([&] { return static_cast<int>(plugin->getParameter(12) * 64) == typeBefore + 1; }));
    // What the window shows is the new module's panel, as an offscreen rendering draws it.
    kirra::gui::Image after = offscreenRendering(*plugin, "editor-window-biquad.png");
    ASSERT_TRUE(after.isValid());
    EXPECT_GT(pixelsDifferingFrom(editor, before), 1000);
    EXPECT_TRUE(waitFor([&] { return pixelsDifferingFrom(editor, after) == 0; }))
        << pixelsDifferingFrom(editor, after) << " pixels differ";
    // Hosts call idle from wherever they like; it costs nothing.
    for (int i = 0; i < 10; ++i)
        plugin->dispatch(vst::effEditIdle);

    plugin->dispatch(vst::effEditClose);
    EXPECT_TRUE(children(parents_.back()).empty());
    bool mixAutomated = false;
    bool powerAutomated = false;
    for (const auto& record : plugin->automation()) {
        mixAutomated |= record.index == 2;
        powerAutomated |= record.index == 0;
    }
    EXPECT_TRUE(mixAutomated);
    EXPECT_TRUE(powerAutomated);
}

TEST_F(EditorWindow, ClosesAndReopensWithSeveralInstancesAtOnce) {
    auto first = load();
    auto second = load();
    Window firstParent = makeParent(0);
    Window secondParent = makeParent(100);
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(first->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(firstParent)), 1);
        ASSERT_EQ(second->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(secondParent)),
                  1);
        EXPECT_TRUE(waitFor([&] { return children(firstParent).size() == 1; }));
        EXPECT_TRUE(waitFor([&] { return children(secondParent).size() == 1; }));
        // Opening again without a close moves the editor, it does not make a second one.
        ASSERT_EQ(first->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(firstParent)), 1);
        EXPECT_TRUE(waitFor([&] { return children(firstParent).size() == 1; }));
        first->dispatch(vst::effEditClose);
        second->dispatch(vst::effEditClose);
        second->dispatch(vst::effEditClose);  // a host that closes twice
        EXPECT_TRUE(children(firstParent).empty());
        EXPECT_TRUE(children(secondParent).empty());
    }
    // Unloading with the editor open closes it first.
    ASSERT_EQ(first->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(firstParent)), 1);
    first->unload();
    EXPECT_TRUE(children(firstParent).empty());
}

TEST_F(EditorWindow, ANonWindowParentIsRefusedAndAScreenshotNeedsNoWindow) {
    auto plugin = load();
    EXPECT_EQ(plugin->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x7ffffff0)), 0);
    // No parent at all: the editor makes a top-level window of its own.
    EXPECT_EQ(plugin->dispatch(vst::effEditOpen, 0, 0, nullptr), 1);
    plugin->dispatch(vst::effEditClose);
    Window parent = makeParent(0);
    ASSERT_EQ(plugin->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1);
    std::string path = ::testing::TempDir() + "editor-window-screenshot.png";
    std::remove(path.c_str());
    kirra::ScreenshotRequest request;
    request.path = path.c_str();
    request.page = 2;
    EXPECT_EQ(plugin->dispatch(vst::effVendorSpecific, kirra::kScreenshotRequest, 0, &request), 1);
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_GT(info.st_size, 10000);
    plugin->dispatch(vst::effEditClose);
}

}  // namespace
