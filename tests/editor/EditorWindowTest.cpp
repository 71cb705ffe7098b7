// The editor in a real window, as a DAW would show it: kirra.so loaded through its entry point,
// the editor opened inside a parent window of the test's own, driven by pointer events from
// xdotool, closed and reopened. Needs an X display; `make test` runs these under Xvfb.
// (The screenshot request is driven through the binary by every offscreenRendering here, and
// with a page and a zoom by the host's screenshot command in ZoomSetting.)

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <utility>

#include "editor/EditorWindowFixture.h"
#include "support/ConfigHome.h"

namespace {

using namespace window_testing;
using testing_support::loadKirra;

TEST_F(EditorWindow, ShowsTheEditorAndItsZoomScalesTheWindowHitAreasAndDrags) {
    // The choice stays with this test's user, not the other tests'.
    testing_support::ScopedConfigHome user;
    // The editor's window thread asks; this thread alone talks to the display.
    std::atomic<int> requestedWidth{0};
    std::atomic<int> requestedHeight{0};
    std::atomic<int> rectWidthWhenAsked{0};
    host::PluginHost* asking = nullptr;
    host::HostOptions following;
    following.sizeWindow = [&](int width, int height) {
        // Hosts read the editor's rectangle while they handle the request.
        vst::ERect* rect = nullptr;
        asking->dispatch(vst::effEditGetRect, 0, 0, &rect);
        rectWidthWhenAsked = rect != nullptr ? rect->right : 0;
        requestedHeight = height;
        requestedWidth = width;
        return true;
    };
    auto plugin = loadKirra(following);
    asking = plugin.get();
    Window editor = openEditor(*plugin);
    ASSERT_NE(editor, 0u);
    // The window shows what the offscreen rendering of the same state shows.
    pointerAway();
    EXPECT_TRUE(showsSoon(editor, offscreenRendering(*plugin, "editor-window-100.png")));
    // The preferences page, then a right click on the zoom choice: from 100 % back to 200 %.
    click(469, 19);
    click(360, 177, 3);
    ASSERT_TRUE(waitFor([&] { return requestedWidth.load() == 1660; }));
    EXPECT_EQ(requestedHeight.load(), 670);
    EXPECT_EQ(rectWidthWhenAsked.load(), 1660);
    XResizeWindow(display_, parents_.back(), 1660, 670);
    XSync(display_, False);
    ASSERT_TRUE(waitFor([&] { return sizeOf(editor) == std::make_pair(1660, 670); }));
    // What shows is the 200 % rendering, not a blow-up of the 100 % one.
    pointerAway();
    kirra::gui::Image zoomed = offscreenRendering(*plugin, "editor-window-200.png");
    ASSERT_EQ(zoomed.width(), 1660);
    EXPECT_TRUE(showsSoon(editor, zoomed));
    // Hit areas: the operator routing page's button, twice as far from the corner.
    click(1018, 39);
    EXPECT_TRUE(waitFor([&] { return plugin->getParameter(418) < 0.25f; }));
    // Mix from 100 %: 200 pixels down at 200 % halve it, as 100 pixels do at 100 %.
    drag(774, 516, 200);
    EXPECT_TRUE(waitFor([&] { return std::abs(plugin->getParameter(2) - 0.5f) < 1e-4f; }))
        << plugin->getParameter(2);
    // The host records the edit; it may call idle from wherever it likes, at no cost.
    for (int i = 0; i < 10; ++i)
        plugin->dispatch(vst::effEditIdle);
    bool mixAutomated = false;
    for (const auto& record : plugin->automation())
        mixAutomated |= record.index == 2;
    EXPECT_TRUE(mixAutomated);
    plugin->dispatch(vst::effEditClose);

    // A host that refuses keeps a whole editor at the old size; the choice applies next time.
    auto refusing = loadKirra();
    vst::ERect* rect = nullptr;
    ASSERT_EQ(refusing->dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 1660);  // the user's zoom, stored by the first instance
    pointerAway();
    Window small = openEditor(*refusing, rect->right, rect->bottom);
    ASSERT_NE(small, 0u);
    // 200 % on the preferences page: the page button and the zoom choice at their 200 % places;
    // a right click steps down to 175 %.
    click(938, 38);
    click(720, 354, 3);
    pointerAway();
    kirra::gui::Image unchanged = offscreenRendering(*refusing, "editor-window-kept.png", 200);
    EXPECT_TRUE(showsSoon(small, unchanged));
    EXPECT_EQ(sizeOf(small), std::make_pair(1660, 670));
    refusing->dispatch(vst::effEditClose);
    ASSERT_EQ(refusing->dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 1453);
}

TEST_F(EditorWindow, ClosesAndReopensWithSeveralInstancesAndRefusesANonWindowParent) {
    auto first = loadKirra();
    auto second = loadKirra();
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
    // A parent that is no window is refused; no parent at all gets a top-level window.
    EXPECT_EQ(second->dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x7ffffff0)), 0);
    EXPECT_EQ(second->dispatch(vst::effEditOpen, 0, 0, nullptr), 1);
    second->dispatch(vst::effEditClose);
}

}  // namespace
