// The LV2 UI embedded as an LV2 host embeds it, without a UI library: the bundle's binary loaded
// by hand, the editor opened in a parent window of the test's own, an edit made with the pointer.
// The edit must reach the engine and, through the UI's write function, the host's port; a new
// zoom must resize our window and ask the host for the size. Needs an X display; `make test` runs
// it under Xvfb.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "editor/EditorWindowFixture.h"
#include "engine/ParameterIndex.h"
#include "lv2/Identifiers.h"
#include "lv2/Lv2Plugin.h"
#include "lv2/instance-access/instance-access.h"
#include "lv2/ui/ui.h"
#include "support/ConfigHome.h"
#include "support/UridMap.h"

namespace {

using testing_support::UridMap;
using window_testing::childrenOf;

// What the host hears from the UI: the last value written to each port, and the size asked for.
struct HostSide {
    std::map<uint32_t, float> ports;
    int width = 0;
    int height = 0;
    static void write(LV2UI_Controller side, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        if (format == 0 && size == sizeof(float))
            static_cast<HostSide*>(side)->ports[port] = *static_cast<const float*>(buffer);
    }
    static int resize(LV2UI_Feature_Handle side, int width, int height) {
        static_cast<HostSide*>(side)->width = width;
        static_cast<HostSide*>(side)->height = height;
        return 0;
    }
};

}  // namespace

TEST(Lv2UiWindow, AnEditReachesTheEngineAndTheHostAndAZoomResizesTheWindow) {
    Display* display = window_testing::openDisplay();
    if (display == nullptr) {
        if (std::getenv("KIRRA_REQUIRE_DISPLAY") != nullptr) FAIL() << "no X display";
        GTEST_SKIP() << "no X display";
    }
    testing_support::ScopedConfigHome configuration;
    void* library = dlopen(KIRRA_LV2_BUNDLE "/kirra.so", RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    auto pluginEntry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    auto uiEntry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_TRUE(pluginEntry != nullptr && uiEntry != nullptr);
    const LV2_Descriptor* plugin = pluginEntry(0);
    const LV2UI_Descriptor* ui = uiEntry(0);

    UridMap uris;
    const LV2_Feature* pluginFeatures[] = {uris.mapFeature(), nullptr};
    LV2_Handle instance = plugin->instantiate(plugin, 44100.0, KIRRA_LV2_BUNDLE, pluginFeatures);
    ASSERT_NE(instance, nullptr);
    kirra::Plugin& engine = static_cast<kirra::lv2::Lv2Plugin*>(instance)->plugin();

    // A parent of 32 bits, as GTK hosts make them on a screen whose default has 24.
    const int screen = DefaultScreen(display);
    XVisualInfo deep{};
    if (XMatchVisualInfo(display, screen, 32, TrueColor, &deep) == 0) {
        deep.visual = DefaultVisual(display, screen);
        deep.depth = DefaultDepth(display, screen);
    }
    XSetWindowAttributes attributes{};
    attributes.colormap =
        XCreateColormap(display, RootWindow(display, screen), deep.visual, AllocNone);
    Window parent = XCreateWindow(display, RootWindow(display, screen), 0, 0, 830, 335, 0,
                                  deep.depth, InputOutput, deep.visual,
                                  CWColormap | CWBorderPixel | CWBackPixel, &attributes);
    XMapWindow(display, parent);
    XSync(display, False);
    HostSide host;
    LV2UI_Resize resize = {&host, HostSide::resize};
    const LV2_Feature parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(parent)};
    const LV2_Feature accessFeature = {LV2_INSTANCE_ACCESS_URI, instance};
    const LV2_Feature resizeFeature = {LV2_UI__resize, &resize};
    const LV2_Feature idleFeature = {LV2_UI__idleInterface, nullptr};
    const LV2_Feature* uiFeatures[] = {&parentFeature, &accessFeature,    &resizeFeature,
                                       &idleFeature,   uris.mapFeature(), nullptr};
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle view = ui->instantiate(ui, kirra::lv2::kPluginUri, KIRRA_LV2_BUNDLE,
                                        HostSide::write, &host, &widget, uiFeatures);
    ASSERT_NE(view, nullptr);
    const auto* idle =
        static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    // Our window in the host's, at the editor's size, with the editor inside it.
    const auto container = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
    EXPECT_EQ(childrenOf(display, parent), std::vector<Window>{container});
    EXPECT_EQ(host.width, 830);
    EXPECT_EQ(host.height, 335);
    ASSERT_EQ(childrenOf(display, container).size(), 1u);
    const std::string window =
        " --window " + std::to_string(childrenOf(display, container)[0]) + " ";

    // Mix starts at 100 %; dragging its knob 100 pixels down (of 200) halves it.
    ASSERT_EQ(std::system(("xdotool mousemove" + window +
                           "387 258 mousedown 1 sleep 0.1 mousemove" + window +
                           "387 308 sleep 0.1 mousemove" + window + "387 358 sleep 0.1 mouseup 1")
                              .c_str()),
              0);
    bool told = false;
    for (int tick = 0; tick < 300 && !told; ++tick) {
        EXPECT_EQ(idle->idle(view), 0);
        const float mix = engine.getParameter(kirra::param::kMix);
        told = std::abs(mix - 0.5f) < 1e-4f && host.ports.count(kirra::param::kMix) == 1 &&
               host.ports[kirra::param::kMix] == mix;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(told);

    // A new zoom from the preferences page (a right click steps from 100 back to 200 %): the
    // container and the host's window follow.
    ASSERT_EQ(std::system(("xdotool mousemove" + window + "469 19 click 1 sleep 0.2 mousemove" +
                           window + "360 177 click 3")
                              .c_str()),
              0);
    for (int tick = 0; tick < 300 && host.width != 1660; ++tick) {
        idle->idle(view);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(host.width, 1660);
    EXPECT_EQ(host.height, 670);
    XWindowAttributes shown{};
    XGetWindowAttributes(display, container, &shown);
    EXPECT_EQ(shown.width, 1660);

    ui->cleanup(view);
    EXPECT_TRUE(childrenOf(display, parent).empty());
    plugin->cleanup(instance);
    XDestroyWindow(display, parent);
    XFreeColormap(display, attributes.colormap);
    XCloseDisplay(display);
}
