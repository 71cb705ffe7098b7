// The plug-in's exported entry: checks the host, builds an instance and hands its effect record
// to the host. Exported twice, as VSTPluginMain and, for older hosts, as main.

#include <new>

#include "engine/Plugin.h"
#include "vst/VstApi.h"

namespace {

vst::AEffect* createEffect(vst::HostCallback host) {
    if (host == nullptr) return nullptr;
    // A host that does not know its own version is not a VST 2 host.
    if (host(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        auto* plugin = new kirra::Plugin(host);
        return plugin->getAeffect();
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
