// The LV2 bundle's binary: the plug-in descriptor and, with the editor, the UI descriptor. Both
// live in one binary so that the UI finds the editor that the instance made, as the VST entry
// attaches one to every instance. Nothing may throw into the host.

#include <cstring>
#include <memory>

#include "lv2/Identifiers.h"
#include "lv2/Lv2Plugin.h"

#ifdef KIRRA_WITH_EDITOR
#include "editor/Editor.h"
#include "lv2/ui/ui.h"
#include "lv2ui/Lv2Ui.h"
#endif

namespace {

using kirra::lv2::Lv2Plugin;

Lv2Plugin& instanceOf(LV2_Handle handle) {
    return *static_cast<Lv2Plugin*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor* /*descriptor*/, double sampleRate,
                       const char* /*bundlePath*/, const LV2_Feature* const* features) {
    std::unique_ptr<Lv2Plugin> instance = Lv2Plugin::create(sampleRate, features);
    if (instance == nullptr) return nullptr;
#ifdef KIRRA_WITH_EDITOR
    try {
        auto* editor = new kirra::editor::Editor(instance->plugin());
        instance->plugin().attachEditor(editor, editor);
    } catch (...) {
        // Without an editor the plug-in still processes.
    }
#endif
    return instance.release();
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    instanceOf(handle).connectPort(port, data);
}

void activate(LV2_Handle handle) {
    try {
        instanceOf(handle).activate();
    } catch (...) {
    }
}

void run(LV2_Handle handle, uint32_t frames) {
    try {
        instanceOf(handle).run(frames);
    } catch (...) {
    }
}

void deactivate(LV2_Handle handle) {
    try {
        instanceOf(handle).deactivate();
    } catch (...) {
    }
}

void cleanup(LV2_Handle handle) {
    delete static_cast<Lv2Plugin*>(handle);
}

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store,
                      LV2_State_Handle stateHandle, uint32_t /*flags*/,
                      const LV2_Feature* const* /*features*/) {
    try {
        return instanceOf(handle).save(store, stateHandle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle stateHandle, uint32_t /*flags*/,
                         const LV2_Feature* const* /*features*/) {
    try {
        return instanceOf(handle).restore(retrieve, stateHandle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const void* extensionData(const char* uri) {
    static const LV2_State_Interface state = {save, restore};
    if (uri != nullptr && std::strcmp(uri, LV2_STATE__interface) == 0) return &state;
    return nullptr;
}

const LV2_Descriptor kDescriptor = {
    kirra::lv2::kPluginUri, instantiate, connectPort, activate, run, deactivate, cleanup,
    extensionData};

#ifdef KIRRA_WITH_EDITOR
using kirra::lv2::Lv2Ui;

LV2UI_Handle instantiateUi(const LV2UI_Descriptor* /*descriptor*/, const char* /*pluginUri*/,
                           const char* /*bundlePath*/, LV2UI_Write_Function write,
                           LV2UI_Controller controller, LV2UI_Widget* widget,
                           const LV2_Feature* const* features) {
    try {
        return Lv2Ui::create(write, controller, widget, features).release();
    } catch (...) {
        return nullptr;
    }
}

void cleanupUi(LV2UI_Handle handle) {
    delete static_cast<Lv2Ui*>(handle);
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    static_cast<Lv2Ui*>(handle)->portEvent(port, size, format, buffer);
}

int idleUi(LV2UI_Handle handle) {
    try {
        return static_cast<Lv2Ui*>(handle)->idle();
    } catch (...) {
        return 1;
    }
}

int resizeUi(LV2UI_Feature_Handle handle, int width, int height) {
    return static_cast<const Lv2Ui*>(handle)->resizeRequest(width, height);
}

const void* uiExtensionData(const char* uri) {
    static const LV2UI_Idle_Interface idle = {idleUi};
    static const LV2UI_Resize resize = {nullptr, resizeUi};
    if (uri == nullptr) return nullptr;
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idle;
    if (std::strcmp(uri, LV2_UI__resize) == 0) return &resize;
    return nullptr;
}

const LV2UI_Descriptor kUiDescriptor = {kirra::lv2::kUiUri, instantiateUi, cleanupUi, portEvent,
                                        uiExtensionData};
#endif

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

#ifdef KIRRA_WITH_EDITOR
__attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kUiDescriptor : nullptr;
}
#endif
}
