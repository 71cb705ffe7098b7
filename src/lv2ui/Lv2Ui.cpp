#include "lv2ui/Lv2Ui.h"

#include <cstring>

#include "lv2/HostFeatures.h"
#include "lv2/Lv2Plugin.h"
#include "lv2/instance-access/instance-access.h"
#include "vst/AEffEditor.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

namespace kirra::lv2 {

std::unique_ptr<Lv2Ui> Lv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                     LV2UI_Widget* widget, const LV2_Feature* const* features) {
    void* parent = findFeature(features, LV2_UI__parent);
    auto* instance = static_cast<Lv2Plugin*>(findFeature(features, LV2_INSTANCE_ACCESS_URI));
    if (parent == nullptr || instance == nullptr || write == nullptr || widget == nullptr) {
        return nullptr;
    }
    vst::AEffEditor* editor = instance->plugin().getEditor();
    if (editor == nullptr) return nullptr;
    const auto* hostResize =
        static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));
    std::unique_ptr<Lv2Ui> ui(new Lv2Ui(*instance, *editor, write, controller, hostResize));
    if (!ui->open(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)))) return nullptr;
    *widget = reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(ui->container_));
    return ui;
}

Lv2Ui::Lv2Ui(Lv2Plugin& instance, vst::AEffEditor& editor, LV2UI_Write_Function write,
             LV2UI_Controller controller, const LV2UI_Resize* hostResize)
    : instance_(instance),
      editor_(editor),
      write_(write),
      controller_(controller),
      hostResize_(hostResize) {
    for (uint32_t& value : hostValues_)
        value = kNoValue;
}

bool Lv2Ui::open(unsigned long parentWindow) {
    if (!editorSize(width_, height_)) return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    display_ = display;
    // The screen's default visual, whatever the host's window has (GTK hosts' windows may have a
    // 32-bit one): the editor's window, made with the default visual, must fit inside.
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.colormap = DefaultColormap(display, screen);
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    container_ = XCreateWindow(display, parentWindow, 0, 0, static_cast<unsigned>(width_),
                               static_cast<unsigned>(height_), 0, DefaultDepth(display, screen),
                               InputOutput, DefaultVisual(display, screen),
                               CWColormap | CWBackPixel | CWBorderPixel, &attributes);
    XMapWindow(display, container_);
    // The editor opens on a connection of its own, which must find the container there.
    XSync(display, False);
    if (!editor_.open(reinterpret_cast<void*>(static_cast<uintptr_t>(container_)))) return false;
    if (hostResize_ != nullptr && hostResize_->ui_resize != nullptr) {
        hostResize_->ui_resize(hostResize_->handle, width_, height_);
        instance_.setEditorResizable(true);
    }
    return true;
}

Lv2Ui::~Lv2Ui() {
    instance_.setEditorResizable(false);
    editor_.close();
    auto* display = static_cast<Display*>(display_);
    if (display == nullptr) return;
    if (container_ != 0) XDestroyWindow(display, container_);
    XCloseDisplay(display);
}

bool Lv2Ui::editorSize(int& width, int& height) const {
    vst::ERect* rect = nullptr;
    if (!editor_.getRect(&rect) || rect == nullptr) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0;
}

int Lv2Ui::idle() {
    instance_.takeHostUpdates(tellHost, this);
    followEditorSize();
    return 0;
}

void Lv2Ui::followEditorSize() {
    int width = 0;
    int height = 0;
    if (!editorSize(width, height) || (width == width_ && height == height_)) return;
    width_ = width;
    height_ = height;
    auto* display = static_cast<Display*>(display_);
    XResizeWindow(display, container_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // A round trip, not a flush: when the host hears of the new size, the server has already
    // given it to the container, so the host's own look at its child finds it.
    XSync(display, False);
    if (hostResize_ != nullptr && hostResize_->ui_resize != nullptr) {
        hostResize_->ui_resize(hostResize_->handle, width, height);
    }
}

void Lv2Ui::tellHost(void* context, uint32_t port, float value) {
    auto& ui = *static_cast<Lv2Ui*>(context);
    const uint32_t bits = bitsOf(value);
    if (ui.hostValues_[port] == bits) return;
    ui.hostValues_[port] = bits;
    ui.instance_.expectEcho(port, value);
    ui.write_(ui.controller_, port, sizeof(float), 0, &value);
}

void Lv2Ui::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    // Values of the host's controls reach the engine through the ports; the UI only notes them.
    if (port < kParameterPorts && format == 0 && size == sizeof(float) && buffer != nullptr) {
        hostValues_[port] = bitsOf(*static_cast<const float*>(buffer));
    }
}

int Lv2Ui::resizeRequest(int width, int height) const {
    return width == width_ && height == height_ ? 0 : 1;
}

}  // namespace kirra::lv2
