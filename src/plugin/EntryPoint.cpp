// The plug-in's exported entry: checks the host, builds an instance and hands its effect record
// to the host. Exported twice, as VSTPluginMain and, for older hosts, as main.

#include <atomic>
#include <new>

#include "engine/Plugin.h"
#include "vst/VstApi.h"

#ifdef KIRRA_WITH_EDITOR
#include "editor/Editor.h"
#endif

namespace {

#ifdef KIRRA_WITH_EDITOR
std::atomic<vst::DispatcherProc> pluginDispatcher{nullptr};

// Our one vendor-specific request, a screenshot of the editor without any display, is answered
// here; everything else goes to the plug-in's own dispatcher.
intptr_t dispatchWithScreenshots(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt) {
    if (opcode == vst::effVendorSpecific && index == kirra::kScreenshotRequest) {
        auto* plugin = vst::AudioEffect::fromEffect(effect);
        auto* editor =
            plugin != nullptr ? dynamic_cast<kirra::editor::Editor*>(plugin->getEditor()) : nullptr;
        if (editor == nullptr || ptr == nullptr) return 0;
        try {
            return editor->renderScreenshot(*static_cast<kirra::ScreenshotRequest*>(ptr)) ? 1 : 0;
        } catch (...) {
            return 0;
        }
    }
    return pluginDispatcher.load()(effect, opcode, index, value, ptr, opt);
}
#endif

vst::AEffect* createEffect(vst::HostCallback host) {
    if (host == nullptr) return nullptr;
    // A host that does not know its own version is not a VST 2 host.
    if (host(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        auto* plugin = new kirra::Plugin(host);
#ifdef KIRRA_WITH_EDITOR
        try {
            auto* editor = new kirra::editor::Editor(*plugin);
            plugin->attachEditor(editor, editor);
        } catch (...) {
            // Without an editor the plug-in still processes.
        }
        vst::AEffect* effect = plugin->getAeffect();
        pluginDispatcher = effect->dispatcher;
        effect->dispatcher = dispatchWithScreenshots;
        return effect;
#else
        return plugin->getAeffect();
#endif
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::HostCallback host) {
    return createEffect(host);
}

// "main" cannot be declared as a C++ function of this type, so the symbol is named directly.
__attribute__((visibility("default"))) vst::AEffect* legacyMain(vst::HostCallback host) __asm__(
    "main");
vst::AEffect* legacyMain(vst::HostCallback host) {
    return createEffect(host);
}
}
