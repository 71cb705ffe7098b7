// kirra screenshot OUT.png: the plug-in renders its editor into a PNG without any display,
// through its vendor-specific call.

#include <cstdio>

#include "engine/ScreenshotRequest.h"
#include "kirra/Commands.h"

namespace host {

int runScreenshot(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "kirra: screenshot wants OUT.png\n");
        return 2;
    }
    PluginHost plugin;
    if (!loadPlugin(options, plugin, options.sampleRate > 0 ? options.sampleRate : 44100.0)) {
        return 1;
    }
    if (!applySettingsOrFail(plugin, options)) return 1;
    kirra::ScreenshotRequest request;
    request.path = options.positional[0].c_str();
    request.page = options.page;
    request.operatorSlot = options.operatorSlot;
    request.modulatorSlot = options.modulatorSlot;
    request.zoomPercent = options.zoomPercent;
    if (plugin.dispatch(vst::effVendorSpecific, kirra::kScreenshotRequest, 0, &request) != 1) {
        std::fprintf(stderr, "kirra: the plug-in did not render its editor to %s\n", request.path);
        return 1;
    }
    if (!options.quiet) std::printf("editor:    %s\n", request.path);
    return 0;
}

}  // namespace host
