// The LV2 UI embedded as an LV2 host embeds it, without a UI library: the plug-in instantiated
// through lilv, the UI taken from the same binary and opened in a parent window of the test's
// own, an edit made with the pointer.
// The edit must reach the engine and, through the UI's write function, the host's port; a new
// zoom must resize our window and ask the host for the size. Needs an X display; `make test` runs
// it under Xvfb.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "editor/EditorWindowFixture.h"
#include "engine/ParameterIndex.h"
#include "lv2/Identifiers.h"
#include "lv2/LilvHost.h"
#include "lv2/instance-access/instance-access.h"
#include "lv2/ui/ui.h"
#include "support/ConfigHome.h"

namespace {

using window_testing::waitFor;

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

using Lv2UiWindow = window_testing::EditorWindow;

}  // namespace

TEST_F(Lv2UiWindow, AnEditReachesTheEngineAndTheHostAndAZoomResizesTheWindow) {
    testing_support::ScopedConfigHome configuration;
    testing_support::LilvHost lv2;
    ASSERT_NE(lv2.instance(), nullptr);
    kirra::Plugin& engine = lv2.engine();
    // The UI's entry point, from the binary lilv loaded the plug-in from.
    void* library = dlopen(KIRRA_LV2_BUNDLE "/kirra.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    auto uiEntry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(uiEntry, nullptr);
    const LV2UI_Descriptor* ui = uiEntry(0);

    // A parent of 32 bits, as GTK hosts make them on a screen whose default has 24.
    const int screen = DefaultScreen(display_);
    XVisualInfo deep{};
    if (XMatchVisualInfo(display_, screen, 32, TrueColor, &deep) == 0) {
        deep.visual = DefaultVisual(display_, screen);
        deep.depth = DefaultDepth(display_, screen);
    }
    XSetWindowAttributes attributes{};
    attributes.colormap =
        XCreateColormap(display_, RootWindow(display_, screen), deep.visual, AllocNone);
    Window parent = mapParent(XCreateWindow(display_, RootWindow(display_, screen), 0, 0, 830, 335,
                                            0, deep.depth, InputOutput, deep.visual,
                                            CWColormap | CWBorderPixel | CWBackPixel, &attributes));
    HostSide host;
    LV2UI_Resize resize = {&host, HostSide::resize};
    const LV2_Feature parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(parent)};
    const LV2_Feature accessFeature = {LV2_INSTANCE_ACCESS_URI,
                                       lilv_instance_get_handle(lv2.instance())};
    const LV2_Feature resizeFeature = {LV2_UI__resize, &resize};
    const LV2_Feature idleFeature = {LV2_UI__idleInterface, nullptr};
    const LV2_Feature* uiFeatures[] = {&parentFeature, &accessFeature,          &resizeFeature,
                                       &idleFeature,   lv2.uris().mapFeature(), nullptr};
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle view = ui->instantiate(ui, kirra::lv2::kPluginUri, KIRRA_LV2_BUNDLE,
                                        HostSide::write, &host, &widget, uiFeatures);
    ASSERT_NE(view, nullptr);
    const auto* idle =
        static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    // Our window in the host's, at the editor's size, with the editor inside it.
    const auto container = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
    EXPECT_EQ(children(parent), std::vector<Window>{container});
    EXPECT_EQ(host.width, 830);
    EXPECT_EQ(host.height, 335);
    ASSERT_EQ(children(container).size(), 1u);
    editor_ = children(container)[0];

    // Mix starts at 100 %; dragging its knob 100 pixels down (of 200) halves it.
    drag(387, 258, 100);
    EXPECT_TRUE(waitFor([&] {
        EXPECT_EQ(idle->idle(view), 0);
        const float mix = engine.getParameter(kirra::param::kMix);
        return std::abs(mix - 0.5f) < 1e-4f && host.ports.count(kirra::param::kMix) == 1 &&
               host.ports[kirra::param::kMix] == mix;
    }));

    // A new zoom from the preferences page (a right click steps from 100 back to 200 %): the
    // container and the host's window follow.
    click(469, 19);
    click(360, 177, 3);
    waitFor([&] { return idle->idle(view) == 0 && host.width == 1660; });
    EXPECT_EQ(host.width, 1660);
    EXPECT_EQ(host.height, 670);
    EXPECT_TRUE(waitFor([&] { return sizeOf(container).first == 1660; }));

    ui->cleanup(view);
    EXPECT_TRUE(children(parent).empty());
    XFreeColormap(display_, attributes.colormap);
}
