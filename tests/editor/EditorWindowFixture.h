#pragma once
// A parent window as a DAW makes one, kirra.so loaded through its entry point and its editor
// opened inside, with the pixels of what the window shows. Needs an X display; the build runs
// these tests under Xvfb.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/GoldenCompare.h"
#include "engine/ScreenshotRequest.h"
#include "gui/Image.h"
#include "support/LoadedPlugin.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace window_testing {

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

inline int run(const std::string& command) {
    return std::system(command.c_str());
}

// A display, parent windows of the test's own, and the pointer and keys driven by xdotool on the
// editor window the last openEditor (or the test) chose.
class EditorWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        // A virtual server that has only just started may refuse the first connections.
        for (int attempt = 0; attempt < 20 && display_ == nullptr; ++attempt) {
            if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            display_ = XOpenDisplay(nullptr);
        }
        if (display_ != nullptr) return;
        // Run under Xvfb by the build, a missing display is a failure, not a reason to skip.
        if (std::getenv("KIRRA_REQUIRE_DISPLAY") != nullptr) FAIL() << "no X display";
        GTEST_SKIP() << "no X display";
    }
    void TearDown() override {
        for (Window window : parents_)
            XDestroyWindow(display_, window);
        if (display_ != nullptr) XCloseDisplay(display_);
    }

    // A top-level window as a DAW makes one for a plug-in's editor.
    Window makeParent(int x, int width = 830, int height = 335) {
        int screen = DefaultScreen(display_);
        return mapParent(XCreateSimpleWindow(display_, RootWindow(display_, screen), x, 0, width,
                                             height, 0, 0, BlackPixel(display_, screen)));
    }
    Window mapParent(Window window) {
        XMapWindow(display_, window);
        XSync(display_, False);
        parents_.push_back(window);
        return window;
    }

    std::vector<Window> children(Window parent) {
        Window root = 0, parentOfParent = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;
        if (XQueryTree(display_, parent, &root, &parentOfParent, &list, &count) != 0) {
            result.assign(list, list + count);
            if (list != nullptr) XFree(list);
        }
        return result;
    }

    bool isViewable(Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, window, &attributes) != 0 &&
               attributes.map_state == IsViewable;
    }

    // Pixels of the window on screen that differ from an image by more than a little.
    int pixelsDifferingFrom(Window window, const kirra::gui::Image& expected) {
        XImage* grabbed = XGetImage(display_, window, 0, 0, expected.width(), expected.height(),
                                    AllPlanes, ZPixmap);
        if (grabbed == nullptr) return -1;
        int different = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const auto shown = static_cast<uint32_t>(XGetPixel(grabbed, x, y)) | 0xFF000000u;
                different += testing_support::channelDistance(shown, expected.pixel(x, y)) > 8;
            }
        }
        XDestroyImage(grabbed);
        return different;
    }

    // The window shows an image, at the latest after the usual wait.
    ::testing::AssertionResult showsSoon(Window window, const kirra::gui::Image& expected) {
        if (waitFor([&] { return pixelsDifferingFrom(window, expected) == 0; }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << pixelsDifferingFrom(window, expected) << " pixels differ";
    }

    // Opens the editor in a new parent window; the editor's own window once it shows, else 0.
    Window openEditor(host::PluginHost& plugin, int width = 830, int height = 335) {
        Window parent = makeParent(0, width, height);
        if (plugin.dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 1) return 0;
        bool shown = waitFor([&] {
            auto list = children(parent);
            return list.size() == 1 && isViewable(list[0]);
        });
        editor_ = shown ? children(parent)[0] : 0;
        return editor_;
    }

    void xdotool(const std::string& actions) { ASSERT_EQ(run("xdotool " + actions), 0) << actions; }
    // A point of the editor window, as xdotool's mousemove takes it.
    std::string at(int x, int y) const {
        return " --window " + std::to_string(editor_) + " " + std::to_string(x) + " " +
               std::to_string(y) + " ";
    }
    void click(int x, int y, int button = 1) {
        xdotool("mousemove" + at(x, y) + "click " + std::to_string(button) + " sleep 0.15");
    }
    // Pressed, moved down by dy in two steps as a hand does, and released.
    void drag(int x, int y, int dy) {
        xdotool("mousemove" + at(x, y) + "mousedown 1 sleep 0.1 mousemove" + at(x, y + dy / 2) +
                "sleep 0.1 mousemove" + at(x, y + dy) + "sleep 0.1 mouseup 1 sleep 0.15");
    }
    void key(const char* keys) {
        xdotool("key --window " + std::to_string(editor_) + " " + keys + " sleep 0.15");
    }
    // Types into the box that has the keys, then Return.
    void typeLine(const std::string& text) {
        xdotool("type --window " + std::to_string(editor_) + " '" + text + "'");
        key("Return");
    }
    // Off every editor, so that nothing shows its hover look.
    void pointerAway() { xdotool("mousemove 1900 1000"); }

    // What the plug-in renders offscreen for its current state (invalid if it cannot).
    kirra::gui::Image offscreenRendering(host::PluginHost& plugin, const char* name,
                                         int zoomPercent = 0) {
        std::string path = ::testing::TempDir() + name;
        kirra::ScreenshotRequest request;
        request.path = path.c_str();
        request.zoomPercent = zoomPercent;
        if (plugin.dispatch(vst::effVendorSpecific, kirra::kScreenshotRequest, 0, &request) != 1)
            return {};
        return kirra::gui::Image::readPng(path);
    }

    std::pair<int, int> sizeOf(Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        return {attributes.width, attributes.height};
    }

    Display* display_ = nullptr;
    std::vector<Window> parents_;
    Window editor_ = 0;
};

}  // namespace window_testing
